// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/xdg_trace_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

#include "platform/desktop/desktop_log.h"
#include "platform/desktop/xdg_folders.h"

namespace voxmere {

XdgTraceFile::XdgTraceFile() : XdgTraceFile(DefaultTraceFilePath(), &QTime::currentTime) {}

XdgTraceFile::XdgTraceFile(QString file_path, Clock clock)
    : file_path_(std::move(file_path)), clock_(std::move(clock)) {}

void XdgTraceFile::WriteTrace(const QString& event) {
  // Whatever fails here is ignored: the close request, the end-of-session
  // query and the clean-up that trace go on regardless.
  QDir().mkpath(QFileInfo(file_path_).absolutePath());
  QFile file(file_path_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
    qCDebug(DesktopLog, "The trace line \"%s\" was skipped: %s cannot be opened (%s)",
            qUtf8Printable(event), qUtf8Printable(file_path_), qUtf8Printable(file.errorString()));
    return;
  }
  const QString line =
      event + QLatin1Char(' ') + clock_().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('\n');
  // One write of a short line: with O_APPEND it lands whole after what is
  // there.
  const QByteArray bytes = line.toUtf8();
  if (file.write(bytes) != bytes.size()) {
    qCDebug(DesktopLog, "The trace line \"%s\" was not written to %s (%s)", qUtf8Printable(event),
            qUtf8Printable(file_path_), qUtf8Printable(file.errorString()));
  }
}

}  // namespace voxmere
