// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_session_core.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <map>
#include <thread>

#include "platform/exception.h"
#include "platform/speechd/speechd_log.h"

namespace voxmere {
namespace {

// libspeechd's callbacks carry no user data; they run on the event thread of
// their connection, which inherits the name of the worker that opened it.
constexpr char kThreadPrefix[] = "voxspd-";

std::mutex registry_mutex;
// Never destroyed: a worker left stuck in libspeechd may still look here
// while the program exits.
std::map<int, std::weak_ptr<SpeechdSessionCore>>& Registry() {
  static auto* registry = new std::map<int, std::weak_ptr<SpeechdSessionCore>>;
  return *registry;
}

int NextSerial() {
  static std::atomic<int> serial{0};
  return ++serial;
}

std::shared_ptr<SpeechdSessionCore> CoreOfThisThread() {
  char name[16] = {};
  if (pthread_getname_np(pthread_self(), name, sizeof(name)) != 0) return nullptr;
  if (std::strncmp(name, kThreadPrefix, sizeof(kThreadPrefix) - 1) != 0) return nullptr;
  const int serial = std::atoi(name + sizeof(kThreadPrefix) - 1);
  std::lock_guard lock(registry_mutex);
  const auto found = Registry().find(serial);
  return found == Registry().end() ? nullptr : found->second.lock();
}

// libspeechd's event thread sets the stream to null (after closing it) when
// the daemon's side of the socket is gone.
bool ConnectionBroken(SPDConnection* connection) {
  return __atomic_load_n(&connection->stream, __ATOMIC_ACQUIRE) == nullptr;
}

}  // namespace

void SpeechdLink::Check(int result, const QString& what) {
  if (result == 0) return;
  if (connection_ == nullptr || ConnectionBroken(connection_)) {
    const QString reason = QStringLiteral("The connection to Speech Dispatcher was lost.");
    if (core_ != nullptr) core_->MarkDead(reason);
    throw Exception(reason);
  }
  throw Exception(QStringLiteral("Speech Dispatcher refused %1.").arg(what));
}

SpeechdSessionCore::SpeechdSessionCore(QObject* receiver, StreamHandler handler)
    : serial_(NextSerial()),
      wake_fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      receiver_(receiver),
      handler_(std::move(handler)) {
  link_.core_ = this;
}

SpeechdSessionCore::~SpeechdSessionCore() {
  if (wake_fd_ >= 0) ::close(wake_fd_);
  if (socket_copy_ >= 0) ::close(socket_copy_);
}

void SpeechdSessionCore::Register() {
  std::lock_guard lock(registry_mutex);
  Registry()[serial_] = weak_from_this();
}

void SpeechdSessionCore::Unregister() {
  std::lock_guard lock(registry_mutex);
  Registry().erase(serial_);
}

void SpeechdSessionCore::Wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof(one));
}

void SpeechdSessionCore::WorkerMain() {
  // libspeechd writes to the socket with write(): a daemon gone away must
  // give EPIPE here, not end the program. libspeechd's event thread, created
  // here, inherits both the mask and the name.
  sigset_t pipe_signal;
  sigemptyset(&pipe_signal);
  sigaddset(&pipe_signal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);
  const QByteArray name = kThreadPrefix + QByteArray::number(serial_);
  pthread_setname_np(pthread_self(), name.constData());

  for (;;) {
    std::function<void()> task;
    int watched = -1;
    {
      std::lock_guard lock(mutex_);
      if (!tasks_.empty()) {
        task = std::move(tasks_.front());
        tasks_.pop_front();
      } else if (closing_) {
        break;
      }
      if (!dead_) watched = socket_copy_;
    }
    if (task) {
      task();
      continue;
    }
    // Idle: wait for work, and notice at once when the daemon goes away, so
    // that a reading in progress ends instead of waiting for the next call.
    pollfd entries[2] = {{wake_fd_, POLLIN, 0}, {watched, POLLRDHUP, 0}};
    if (::poll(entries, 2, -1) < 0) continue;
    if (entries[0].revents != 0) {
      std::uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = ::read(wake_fd_, &count, sizeof(count));
    }
    if ((entries[1].revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0) {
      MarkDead(QStringLiteral("Speech Dispatcher closed the connection."));
    }
  }
  CloseConnection();
  {
    std::lock_guard lock(mutex_);
    worker_done_ = true;
  }
  changed_.notify_all();
}

void SpeechdSessionCore::Run(const std::function<void(SpeechdLink&)>& request,
                             Clock::time_point deadline) {
  struct Outcome {
    bool done = false;
    std::exception_ptr error;
  };
  auto outcome = std::make_shared<Outcome>();
  {
    std::lock_guard lock(mutex_);
    if (dead_) throw Exception(dead_reason_);
    tasks_.push_back([self = shared_from_this(), outcome, request] {
      try {
        if (!self->Alive()) throw Exception(QStringLiteral("Speech Dispatcher stopped answering."));
        request(self->link_);
      } catch (...) {
        outcome->error = std::current_exception();
      }
      {
        std::lock_guard lock(self->mutex_);
        outcome->done = true;
      }
      self->changed_.notify_all();
    });
  }
  Wake();
  std::unique_lock lock(mutex_);
  if (!changed_.wait_until(lock, deadline, [&] { return outcome->done; })) {
    const QString reason = QStringLiteral("Speech Dispatcher stopped answering.");
    MarkDeadLocked(reason);
    throw Exception(reason);
  }
  lock.unlock();
  if (outcome->error) std::rethrow_exception(outcome->error);
}

void SpeechdSessionCore::Adopt(SPDConnection* connection) {
  connection->callback_begin = &SpeechdSessionCore::OnEvent;
  connection->callback_end = &SpeechdSessionCore::OnEvent;
  connection->callback_cancel = &SpeechdSessionCore::OnEvent;
  // Our own descriptor of the socket: shutting it down unblocks libspeechd,
  // and it cannot be closed (and its number reused) behind our back.
  const int copy = ::fcntl(connection->socket, F_DUPFD_CLOEXEC, 0);
  std::lock_guard lock(mutex_);
  connection_ = connection;
  link_.connection_ = connection;
  socket_copy_ = copy;
  if (dead_ && copy >= 0) ::shutdown(copy, SHUT_RDWR);
}

void SpeechdSessionCore::MarkDead(const QString& reason) {
  std::lock_guard lock(mutex_);
  MarkDeadLocked(reason);
}

void SpeechdSessionCore::MarkDeadLocked(const QString& reason) {
  if (dead_) return;
  // The next request opens a new session.
  qCWarning(SpeechdLog, "Session %d given up: %s", serial_, qUtf8Printable(reason));
  dead_ = true;
  dead_reason_ = reason;
  for (const size_t id : started_) PostLocked(false, static_cast<int>(id));
  started_.clear();
  if (socket_copy_ >= 0) ::shutdown(socket_copy_, SHUT_RDWR);
  changed_.notify_all();
}

bool SpeechdSessionCore::Alive() const {
  std::lock_guard lock(mutex_);
  return !dead_;
}

bool SpeechdSessionCore::Speaking() const {
  std::lock_guard lock(mutex_);
  return !started_.empty();
}

bool SpeechdSessionCore::SurvivesStart(size_t message_id, Clock::time_point begin_deadline,
                                       std::chrono::milliseconds grace) {
  std::unique_lock lock(mutex_);
  changed_.wait_until(lock, begin_deadline, [&] { return dead_ || last_begun_ >= message_id; });
  if (!dead_ && last_begun_ >= message_id) {
    changed_.wait_for(lock, grace, [&] { return dead_; });
  }
  return !dead_;
}

void SpeechdSessionCore::BeginProbe() {
  std::lock_guard lock(mutex_);
  probing_ = true;
  probe_ended_ = false;
}

bool SpeechdSessionCore::WaitProbeEnded(Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  changed_.wait_until(lock, deadline, [&] { return probe_ended_ || dead_; });
  return probe_ended_;
}

void SpeechdSessionCore::EndProbe() {
  std::lock_guard lock(mutex_);
  probing_ = false;
}

bool SpeechdSessionCore::Close(std::chrono::milliseconds wait) {
  {
    std::lock_guard lock(mutex_);
    receiver_ = nullptr;
    closing_ = true;
  }
  Wake();
  std::unique_lock lock(mutex_);
  if (changed_.wait_for(lock, wait, [&] { return worker_done_; })) return true;
  // The worker is stuck in libspeechd: a shut-down socket makes it return.
  MarkDeadLocked(QStringLiteral("Speech Dispatcher stopped answering."));
  if (socket_copy_ >= 0) ::shutdown(socket_copy_, SHUT_RDWR);
  if (connection_ == nullptr) {
    qCWarning(SpeechdLog, "Session %d left behind: still connecting after %lld ms", serial_,
              static_cast<long long>(wait.count()));
    return false;  // still inside spd_open2: nothing to shut
  }
  if (changed_.wait_for(lock, wait, [&] { return worker_done_; })) return true;
  qCWarning(SpeechdLog, "Session %d left behind: libspeechd does not return", serial_);
  return false;
}

void SpeechdSessionCore::CloseConnection() {
  SPDConnection* connection = nullptr;
  {
    std::lock_guard lock(mutex_);
    connection = connection_;
  }
  if (connection == nullptr) return;
  // Our speech ends with us: the daemon would go on with what we queued.
  if (Alive()) spd_cancel(connection);
  {
    std::lock_guard lock(mutex_);
    if (socket_copy_ >= 0) ::shutdown(socket_copy_, SHUT_RDWR);
  }
  // libspeechd's event thread now reads the end of the stream and closes its
  // descriptor; spd_close would close that number a second time, perhaps
  // someone else's by then, so tell it there is nothing left to close.
  const auto deadline = Clock::now() + std::chrono::milliseconds(500);
  while (!ConnectionBroken(connection) && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (ConnectionBroken(connection)) connection->socket = -1;
  spd_close(connection);
  std::lock_guard lock(mutex_);
  connection_ = nullptr;
  link_.connection_ = nullptr;
  if (socket_copy_ >= 0) ::close(socket_copy_);
  socket_copy_ = -1;
}

void SpeechdSessionCore::OnEvent(size_t message_id, size_t /*client_id*/,
                                 SPDNotificationType type) {
  // spd_close cancels this thread; it must not end inside our locks.
  int cancel_state = 0;
  pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &cancel_state);
  if (std::shared_ptr<SpeechdSessionCore> core = CoreOfThisThread()) {
    core->Deliver(message_id, type);
  }
  pthread_setcancelstate(cancel_state, nullptr);
}

void SpeechdSessionCore::Deliver(size_t message_id, SPDNotificationType type) {
  std::lock_guard lock(mutex_);
  if (probing_) {
    if (type == SPD_EVENT_END) {
      probe_ended_ = true;
      changed_.notify_all();
    }
    return;
  }
  if (dead_) return;
  if (type == SPD_EVENT_BEGIN) {
    last_begun_ = std::max(last_begun_, message_id);
    changed_.notify_all();
    if (started_.insert(message_id).second) PostLocked(true, static_cast<int>(message_id));
  } else if (type == SPD_EVENT_END || type == SPD_EVENT_CANCEL) {
    if (started_.erase(message_id) > 0) PostLocked(false, static_cast<int>(message_id));
  }
}

void SpeechdSessionCore::PostLocked(bool start, int message_id) {
  if (receiver_ == nullptr || !handler_) return;
  QMetaObject::invokeMethod(
      receiver_, [handler = handler_, start, message_id] { handler(start, message_id); },
      Qt::QueuedConnection);
}

}  // namespace voxmere
