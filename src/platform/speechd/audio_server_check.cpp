// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/audio_server_check.h"

#include <QDir>
#include <QFileInfo>

#include "platform/espeak/pulse_connection.h"

namespace voxmere {

bool AudioServerAnswers(std::chrono::milliseconds timeout, QString* reason) {
  // The connection espeak-ng plays through, made and let go of again.
  return PulseConnection::Connect(timeout, reason) != nullptr;
}

bool AudioServerExpected() {
  if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(QDir(runtime).filePath(QStringLiteral("pulse"))).isDir()) {
    return true;
  }
  // A server for the whole system.
  return QFileInfo(QStringLiteral("/run/pulse")).isDir();
}

}  // namespace voxmere
