// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/ssip_socket.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/exception.h"

namespace voxmere {
namespace {

QString ErrnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Reasons, worded to follow "Speech Dispatcher ... :" in the caller's message.
Exception Failure(const QString& what) { return Exception(what); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<SsipReply> SsipReplyReader::Feed(const QByteArray& bytes) {
  buffer_ += bytes;
  for (;;) {
    const qsizetype end = buffer_.indexOf('\n', scanned_);
    if (end < 0) return std::nullopt;
    QByteArray line = buffer_.mid(scanned_, end - scanned_);
    scanned_ = end + 1;
    if (line.endsWith('\r')) line.chop(1);
    if (line.size() < 4 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2]) ||
        (line[3] != '-' && line[3] != ' ')) {
      throw Failure(QStringLiteral("its reply is not SSIP"));
    }
    if (line[3] == '-') {
      pending_.data.push_back(line.mid(4));
      continue;
    }
    SsipReply reply = std::move(pending_);
    pending_ = {};
    reply.code = line.left(3).toInt();
    reply.text = line.mid(4);
    buffer_.remove(0, scanned_);
    scanned_ = 0;
    return reply;
  }
}

SsipSocket::~SsipSocket() { Close(); }

void SsipSocket::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void SsipSocket::WaitFor(short events, Clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) throw Failure(QStringLiteral("it did not answer in time"));
    pollfd entry{fd_, events, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(left));
    if (ready > 0) return;
    if (ready < 0 && errno != EINTR) throw Failure(ErrnoText(errno));
  }
}

bool SsipSocket::Connect(const SpeechdAddress& address, Clock::time_point deadline) {
  Close();
  reader_ = {};
  sockaddr_storage storage{};
  socklen_t length = 0;
  int family = AF_UNIX;
  if (address.method == SpeechdAddress::Method::kUnixSocket) {
    const QByteArray path = address.socket_path.toLocal8Bit();
    auto* unix_address = reinterpret_cast<sockaddr_un*>(&storage);
    if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof(unix_address->sun_path)) {
      throw Failure(
          QStringLiteral("the socket path \"%1\" cannot be used").arg(address.socket_path));
    }
    unix_address->sun_family = AF_UNIX;
    std::memcpy(unix_address->sun_path, path.constData(), static_cast<size_t>(path.size()));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
  } else {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int error = ::getaddrinfo(address.host.toUtf8().constData(),
                                    QByteArray::number(address.port).constData(), &hints, &found);
    if (error != 0 || found == nullptr) {
      throw Failure(QStringLiteral("the host \"%1\" cannot be found").arg(address.host));
    }
    family = found->ai_family;
    length = found->ai_addrlen;
    std::memcpy(&storage, found->ai_addr, found->ai_addrlen);
    ::freeaddrinfo(found);
  }
  fd_ = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) throw Failure(ErrnoText(errno));
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&storage), length) == 0) return true;
  const int error = errno;
  if (error == ENOENT || error == ECONNREFUSED) {
    Close();
    return false;
  }
  // A daemon that stopped reading fills its queue of pending connections:
  // a Unix socket then refuses with EAGAIN.
  if (error == EAGAIN) throw Failure(QStringLiteral("it accepts no connections"));
  if (error != EINPROGRESS) throw Failure(ErrnoText(error));
  WaitFor(POLLOUT, deadline);
  int result = 0;
  socklen_t result_length = sizeof(result);
  ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &result, &result_length);
  if (result == ECONNREFUSED) {
    Close();
    return false;
  }
  if (result != 0) throw Failure(ErrnoText(result));
  return true;
}

SsipReply SsipSocket::Command(const QByteArray& line, Clock::time_point deadline) {
  if (fd_ < 0) throw Failure(QStringLiteral("not connected"));
  const QByteArray bytes = line + "\r\n";
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd_, bytes.constData() + sent,
                             static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
    if (n > 0) {
      sent += n;
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      WaitFor(POLLOUT, deadline);
    } else {
      throw Failure(QStringLiteral("the connection was lost (%1)").arg(ErrnoText(errno)));
    }
  }
  if (std::optional<SsipReply> reply = reader_.Next()) return *reply;
  char chunk[65536];
  for (;;) {
    WaitFor(POLLIN, deadline);
    const ssize_t n = ::recv(fd_, chunk, sizeof(chunk), 0);
    if (n == 0) throw Failure(QStringLiteral("it closed the connection"));
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      throw Failure(QStringLiteral("the connection was lost (%1)").arg(ErrnoText(errno)));
    }
    if (std::optional<SsipReply> reply = reader_.Feed(QByteArray(chunk, n))) return *reply;
  }
}

}  // namespace voxmere
