// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// Where speech-dispatcher listens: a Unix socket (the usual case) or a TCP
// port, written as in SPEECHD_ADDRESS.
struct SpeechdAddress {
  enum class Method { kUnixSocket, kInetSocket };
  Method method = Method::kUnixSocket;
  QString socket_path;  // Unix socket
  QString host;         // TCP
  int port = 6560;

  // As SPEECHD_ADDRESS writes it, for messages.
  QString ToText() const;
  bool operator==(const SpeechdAddress&) const = default;
};

// Reads "unix_socket:PATH", "unix_socket" (the default socket),
// "inet_socket:HOST[:PORT]" and "inet_socket" (localhost); throws
// voxmere::Exception for anything else.
SpeechdAddress ParseSpeechdAddress(const QString& text, const QString& default_socket_path);

// The address libspeechd would use: SPEECHD_ADDRESS, else the user's socket
// under the runtime folder. Throws when SPEECHD_ADDRESS cannot be read.
SpeechdAddress DefaultSpeechdAddress();

}  // namespace voxmere
