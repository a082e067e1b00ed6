// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_address.h"

#include <libspeechd.h>

#include <cstdlib>

#include "platform/exception.h"

namespace voxmere {

QString SpeechdAddress::ToText() const {
  if (method == Method::kUnixSocket) return QStringLiteral("unix_socket:") + socket_path;
  return QStringLiteral("inet_socket:%1:%2").arg(host).arg(port);
}

SpeechdAddress ParseSpeechdAddress(const QString& text, const QString& default_socket_path) {
  SpeechdAddress address;
  const qsizetype colon = text.indexOf(u':');
  const QString method = colon < 0 ? text : text.left(colon);
  const QString rest = colon < 0 ? QString() : text.mid(colon + 1);
  if (method == u"unix_socket" || method.isEmpty()) {
    address.method = SpeechdAddress::Method::kUnixSocket;
    address.socket_path = rest.isEmpty() ? default_socket_path : rest;
    return address;
  }
  if (method == u"inet_socket") {
    address.method = SpeechdAddress::Method::kInetSocket;
    const qsizetype port_colon = rest.indexOf(u':');
    address.host = port_colon < 0 ? rest : rest.left(port_colon);
    if (address.host.isEmpty()) address.host = QStringLiteral("127.0.0.1");
    if (port_colon >= 0) {
      bool ok = false;
      const int port = rest.mid(port_colon + 1).toInt(&ok);
      if (!ok || port <= 0 || port > 65535) {
        throw Exception(
            QStringLiteral("The speech-dispatcher address \"%1\" has no valid port.").arg(text));
      }
      address.port = port;
    }
    return address;
  }
  throw Exception(
      QStringLiteral("The speech-dispatcher address \"%1\" uses an unknown method.").arg(text));
}

SpeechdAddress DefaultSpeechdAddress() {
  char* error = nullptr;
  SPDConnectionAddress* found = spd_get_default_address(&error);
  if (found == nullptr) {
    const QString reason = QString::fromUtf8(error != nullptr ? error : "unknown error");
    std::free(error);
    throw Exception(QStringLiteral("The speech-dispatcher address cannot be read: %1").arg(reason));
  }
  SpeechdAddress address;
  if (found->method == SPD_METHOD_INET_SOCKET) {
    address.method = SpeechdAddress::Method::kInetSocket;
    address.host = QString::fromUtf8(found->inet_socket_host);
    address.port = found->inet_socket_port;
  } else {
    address.socket_path = QString::fromLocal8Bit(found->unix_socket_name);
  }
  SPDConnectionAddress__free(found);
  return address;
}

}  // namespace voxmere
