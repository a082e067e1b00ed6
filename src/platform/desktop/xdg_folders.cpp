// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/xdg_folders.h"

#include <QDir>
#include <QtGlobal>

namespace voxmere {

QString XdgBaseFolder(const char* variable, const QString& home_relative_default) {
  const QString value = qEnvironmentVariable(variable);
  if (!value.isEmpty() && QDir::isAbsolutePath(value)) return QDir::cleanPath(value);
  return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + home_relative_default);
}

QString DefaultAutostartEntryPath() {
  return XdgBaseFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) +
         QStringLiteral("/autostart/voxmere.desktop");
}

QString DefaultTraceFilePath() {
  return XdgBaseFolder("XDG_STATE_HOME", QStringLiteral(".local/state")) +
         QStringLiteral("/voxmere/debug.txt");
}

}  // namespace voxmere
