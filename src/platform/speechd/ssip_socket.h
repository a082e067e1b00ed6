// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <chrono>
#include <optional>
#include <vector>

#include "platform/speechd/speechd_address.h"

namespace voxmere {

// One reply of speech-dispatcher's text protocol (SSIP): data lines
// "NNN-data" and a last line "NNN text".
struct SsipReply {
  int code = 0;
  std::vector<QByteArray> data;
  QByteArray text;

  bool Ok() const { return code >= 200 && code < 300; }
};

// Cuts replies out of the bytes read from the socket, line by line, so a
// reply of 13,000 voices is read in one pass.
class SsipReplyReader {
 public:
  // Adds bytes; returns the next complete reply once its last line is in
  // (bytes after it stay for the next call). Throws voxmere::Exception on a
  // line that is not SSIP.
  std::optional<SsipReply> Feed(const QByteArray& bytes);
  // The next complete reply from what was fed before, if any.
  std::optional<SsipReply> Next() { return Feed({}); }

 private:
  QByteArray buffer_;
  qsizetype scanned_ = 0;
  SsipReply pending_;
};

// A plain SSIP connection with deadlines on every step, for the short
// exchanges where libspeechd (which waits without limit, and reads long lists
// in quadratic time) would be the wrong tool: checking that the daemon
// answers, and listing voices.
class SsipSocket {
 public:
  using Clock = std::chrono::steady_clock;

  SsipSocket() = default;
  ~SsipSocket();
  SsipSocket(const SsipSocket&) = delete;
  SsipSocket& operator=(const SsipSocket&) = delete;

  // False when nothing listens at the address (no socket, connection
  // refused); throws voxmere::Exception on other failures and on timeout,
  // with the reason worded to follow "Speech Dispatcher ...:".
  bool Connect(const SpeechdAddress& address, Clock::time_point deadline);

  // Sends one command line (without line end) and waits for its reply;
  // throws on timeout, on a closed connection and on a malformed reply.
  SsipReply Command(const QByteArray& line, Clock::time_point deadline);

 private:
  void Close();
  void WaitFor(short events, Clock::time_point deadline);

  int fd_ = -1;
  SsipReplyReader reader_;
};

}  // namespace voxmere
