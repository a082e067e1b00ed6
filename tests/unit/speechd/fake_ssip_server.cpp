// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_ssip_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace voxmere {

FakeSsipServer::FakeSsipServer() {
  if (!folder_.isValid()) throw std::runtime_error("no temporary folder");
  const QByteArray path = Address().socket_path.toLocal8Bit();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
  listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listener_, 16) != 0) {
    throw std::runtime_error("cannot listen");
  }
  wake_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  voices_ = {{"espeak-ng",
              {"English (America)\ten-us\tnone", "English (America)+Annie\ten-us\tAnnie",
               "German\tde\tnone", "German+Annie\tde\tAnnie"}}};
  thread_ = std::thread([this] { Loop(); });
}

FakeSsipServer::~FakeSsipServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  Wake();
  thread_.join();
  for (Client& client : clients_) ::close(client.fd);
  ::close(listener_);
  ::close(wake_fd_);
}

SpeechdAddress FakeSsipServer::Address() const {
  SpeechdAddress address;
  address.socket_path = folder_.filePath(QStringLiteral("fake.sock"));
  return address;
}

void FakeSsipServer::Wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof(one));
}

void FakeSsipServer::Run(std::function<void()> action) {
  std::unique_lock lock(mutex_);
  actions_.push_back(std::move(action));
  const std::uint64_t ticket = ++actions_requested_;
  Wake();
  ran_.wait(lock, [&] { return actions_done_ >= ticket || stopping_; });
}

void FakeSsipServer::SetAnswering(bool answering) {
  std::lock_guard lock(mutex_);
  answering_ = answering;
  Wake();
}

void FakeSsipServer::SetSoundWorks(bool works) {
  std::lock_guard lock(mutex_);
  sound_works_ = works;
}

void FakeSsipServer::SetAutoEnd(bool auto_end) {
  std::lock_guard lock(mutex_);
  auto_end_ = auto_end;
}

void FakeSsipServer::SetVoices(std::map<QByteArray, std::vector<QByteArray>> voices) {
  std::lock_guard lock(mutex_);
  voices_ = std::move(voices);
}

void FakeSsipServer::DropClients() {
  Run([this] {
    for (Client& client : clients_) ::close(client.fd);
    clients_.clear();
  });
}

void FakeSsipServer::EndMessage(int message_id) {
  Run([this, message_id] {
    for (Client& client : clients_) {
      if (client.speaking != message_id) continue;
      Event(client, 702, message_id, "END");
      client.speaking = 0;
      StartNext(client);
    }
  });
}

std::vector<QByteArray> FakeSsipServer::Commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

std::vector<QByteArray> FakeSsipServer::TakeCommands() {
  std::lock_guard lock(mutex_);
  std::vector<QByteArray> taken(commands_.begin() + static_cast<std::ptrdiff_t>(taken_),
                                commands_.end());
  taken_ = commands_.size();
  return taken;
}

int FakeSsipServer::Connections() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

int FakeSsipServer::LastMessage() const {
  std::lock_guard lock(mutex_);
  return last_message_;
}

void FakeSsipServer::Loop() {
  for (;;) {
    bool answering = false;
    std::vector<std::function<void()>> actions;
    {
      std::lock_guard lock(mutex_);
      if (stopping_) break;
      actions.swap(actions_);
    }
    for (auto& action : actions) action();
    {
      std::lock_guard lock(mutex_);
      actions_done_ += actions.size();
      answering = answering_;
    }
    ran_.notify_all();
    std::vector<pollfd> entries{{wake_fd_, POLLIN, 0}};
    if (answering) {
      entries.push_back({listener_, POLLIN, 0});
      for (const Client& client : clients_) entries.push_back({client.fd, POLLIN, 0});
    }
    if (::poll(entries.data(), entries.size(), -1) < 0) continue;
    if (entries[0].revents != 0) {
      std::uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = ::read(wake_fd_, &count, sizeof(count));
    }
    if (!answering) continue;
    if (entries[1].revents != 0) Accept();
    for (std::size_t i = 2; i < entries.size(); ++i) {
      if (entries[i].revents == 0) continue;
      for (auto it = clients_.begin(); it != clients_.end(); ++it) {
        if (it->fd != entries[i].fd) continue;
        if (!Serve(*it)) {
          ::close(it->fd);
          clients_.erase(it);
        }
        break;
      }
    }
  }
  ran_.notify_all();
}

void FakeSsipServer::Accept() {
  const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return;
  Client client;
  client.fd = fd;
  client.id = next_client_++;
  clients_.push_back(std::move(client));
  std::lock_guard lock(mutex_);
  ++connections_;
}

bool FakeSsipServer::Serve(Client& client) {
  char chunk[4096];
  const ssize_t n = ::recv(client.fd, chunk, sizeof(chunk), 0);
  if (n <= 0) return false;
  client.input.append(chunk, n);
  for (;;) {
    const qsizetype end = client.input.indexOf("\r\n");
    if (end < 0) break;
    const QByteArray line = client.input.left(end);
    client.input.remove(0, end + 2);
    if (client.receiving_text) {
      if (line == ".") {
        FinishText(client);
      } else {
        if (!client.text.isEmpty()) client.text += "\n";
        client.text += line.startsWith("..") ? line.mid(1) : line;
      }
      continue;
    }
    {
      std::lock_guard lock(mutex_);
      commands_.push_back(line);
    }
    Handle(client, line);
    if (line.toUpper() == "QUIT") return false;
  }
  return true;
}

void FakeSsipServer::Handle(Client& client, const QByteArray& line) {
  const QByteArray upper = line.toUpper();
  if (upper == "SPEAK") {
    client.receiving_text = true;
    client.text.clear();
    Send(client, "230 OK RECEIVING DATA\r\n");
  } else if (upper == "QUIT") {
    Send(client, "231 HAPPY HACKING\r\n");
  } else if (upper == "CANCEL SELF") {
    // Cancels for queued messages too, which never began: the voice object
    // must not pass those on as ends.
    for (const int queued : client.queue) Event(client, 703, queued, "CANCELED");
    client.queue.clear();
    if (client.speaking != 0) Event(client, 703, client.speaking, "CANCELED");
    client.speaking = 0;
    Send(client, "210 OK CANCELED\r\n");
  } else if (upper == "LIST OUTPUT_MODULES") {
    QByteArray reply;
    std::lock_guard lock(mutex_);
    for (const auto& [module, lines] : voices_) reply += "250-" + module + "\r\n";
    Send(client, reply + "250 OK MODULE LIST SENT\r\n");
  } else if (upper == "LIST SYNTHESIS_VOICES") {
    QByteArray reply;
    std::lock_guard lock(mutex_);
    for (const QByteArray& voice : voices_[client.module]) reply += "249-" + voice + "\r\n";
    Send(client, reply + "249 OK VOICE LIST SENT\r\n");
  } else if (upper.startsWith("SET SELF OUTPUT_MODULE ")) {
    client.module = line.mid(23);
    Send(client, "216 OK OUTPUT MODULE SET\r\n");
  } else if (upper.startsWith("SET SELF NOTIFICATION ")) {
    client.events = true;
    Send(client, "220 OK NOTIFICATION SET\r\n");
  } else if (upper.startsWith("SET ")) {
    Send(client, "200 OK SET\r\n");
  } else {
    Send(client, "300 ERR UNKNOWN COMMAND\r\n");
  }
}

void FakeSsipServer::FinishText(Client& client) {
  client.receiving_text = false;
  int id = 0;
  {
    std::lock_guard lock(mutex_);
    commands_.push_back("TEXT " + client.text);
    id = ++last_message_;
  }
  Send(client, "225-" + QByteArray::number(id) + "\r\n225 OK MESSAGE QUEUED\r\n");
  client.queue.push_back(id);
  if (client.speaking == 0) StartNext(client);
}

void FakeSsipServer::StartNext(Client& client) {
  bool auto_end = false, sound = false;
  {
    std::lock_guard lock(mutex_);
    auto_end = auto_end_;
    sound = sound_works_;
  }
  while (client.speaking == 0 && !client.queue.empty()) {
    client.speaking = client.queue.front();
    client.queue.pop_front();
    Event(client, 701, client.speaking, "BEGIN");
    if (!sound || !auto_end) return;
    Event(client, 702, client.speaking, "END");
    client.speaking = 0;
  }
}

void FakeSsipServer::Send(Client& client, const QByteArray& bytes) {
  [[maybe_unused]] const ssize_t sent =
      ::send(client.fd, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL);
}

void FakeSsipServer::Event(Client& client, int code, int message_id, const char* word) {
  if (!client.events) return;
  const QByteArray number = QByteArray::number(code);
  Send(client, number + "-" + QByteArray::number(message_id) + "\r\n" + number + "-" +
                   QByteArray::number(client.id) + "\r\n" + number + " " + word + "\r\n");
}

}  // namespace voxmere
