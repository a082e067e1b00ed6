// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/pulse_connection.h"

#include <pulse/pulseaudio.h>

#include "platform/espeak/espeak_log.h"

namespace voxmere {

std::shared_ptr<PulseConnection> PulseConnection::Connect(std::chrono::milliseconds timeout,
                                                          QString* error) {
  const Clock::time_point deadline = Clock::now() + timeout;
  std::shared_ptr<PulseConnection> connection(new PulseConnection);
  connection->mainloop_ = pa_threaded_mainloop_new();
  if (connection->mainloop_ == nullptr) {
    if (error) *error = QStringLiteral("cannot start the audio client");
    return nullptr;
  }
  pa_proplist* properties = pa_proplist_new();
  pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Voxmere");
  pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "voxmere");
  connection->context_ = pa_context_new_with_proplist(
      pa_threaded_mainloop_get_api(connection->mainloop_), "Voxmere", properties);
  pa_proplist_free(properties);
  if (connection->context_ == nullptr) {
    if (error) *error = QStringLiteral("cannot start the audio client");
    return nullptr;
  }
  pa_context_set_state_callback(
      connection->context_,
      [](pa_context*, void* self) { static_cast<PulseConnection*>(self)->Changed(); },
      connection.get());
  // A desktop session runs its audio server already; starting one here could
  // leave a daemon behind.
  if (pa_context_connect(connection->context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
      pa_threaded_mainloop_start(connection->mainloop_) < 0) {
    if (error) *error = QString::fromUtf8(pa_strerror(pa_context_errno(connection->context_)));
    return nullptr;
  }
  pa_context* context = connection->context_;
  const bool settled = connection->WaitUntil(
      [context] {
        return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) ||
               pa_context_get_state(context) == PA_CONTEXT_READY;
      },
      deadline);
  bool ready = false;
  {
    PulseLock lock(*connection);
    ready = connection->ReadyLocked();
    if (!ready && error) {
      *error = settled ? QString::fromUtf8(pa_strerror(pa_context_errno(context)))
                       : QStringLiteral("the audio server does not answer");
    }
  }
  return ready ? connection : nullptr;
}

PulseConnection::~PulseConnection() {
  if (mainloop_ != nullptr) pa_threaded_mainloop_stop(mainloop_);
  if (context_ != nullptr) {
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
  }
  if (mainloop_ != nullptr) pa_threaded_mainloop_free(mainloop_);
}

bool PulseConnection::ReadyLocked() const {
  return pa_context_get_state(context_) == PA_CONTEXT_READY;
}

bool PulseConnection::WaitUntil(const std::function<bool()>& done, Clock::time_point deadline) {
  for (;;) {
    std::uint64_t seen;
    {
      std::lock_guard lock(wait_mutex_);
      seen = changes_;
    }
    {
      PulseLock lock(*this);
      if (done()) return true;
    }
    // The loop lock is never taken while wait_mutex_ is held: callbacks hold
    // the loop lock when they call Changed().
    std::unique_lock lock(wait_mutex_);
    if (!changed_.wait_until(lock, deadline, [&] { return changes_ != seen; })) return false;
  }
}

void PulseConnection::Changed() {
  {
    std::lock_guard lock(wait_mutex_);
    ++changes_;
  }
  changed_.notify_all();
}

PulseLock::PulseLock(const PulseConnection& connection) : mainloop_(connection.Mainloop()) {
  pa_threaded_mainloop_lock(mainloop_);
}

PulseLock::~PulseLock() { pa_threaded_mainloop_unlock(mainloop_); }

std::shared_ptr<PulseConnection> PulseConnector::Get(QString* error) {
  std::lock_guard lock(mutex_);
  if (current_) {
    PulseLock loop(*current_);
    if (current_->ReadyLocked()) return current_;
  }
  QString reason;
  current_ = PulseConnection::Connect(timeout_, &reason);
  if (!current_) {
    qCWarning(EspeakLog, "No connection to the audio server: %s", qUtf8Printable(reason));
    if (error) *error = reason;
  }
  return current_;
}

}  // namespace voxmere
