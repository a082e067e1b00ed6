// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

#include "settings/settings_log.h"

namespace voxmere {
namespace {

// Folders of installed programs: writable for root, yet never a place for one
// user's settings.
bool IsSystemFolder(const QString& path) {
  for (const char* prefix : {"/usr/", "/bin/", "/sbin/", "/lib/", "/lib64/"}) {
    if ((path + QLatin1Char('/')).startsWith(QLatin1String(prefix))) return true;
  }
  return false;
}

}  // namespace

QString SettingsFolder(const QString& program_dir) {
  if (!program_dir.isEmpty()) {
    const QFileInfo info(program_dir);
    const QString folder = QDir::cleanPath(info.absoluteFilePath());
    if (info.isDir() && info.isWritable() && !IsSystemFolder(folder)) return folder;
    qCDebug(SettingsLog, "The settings are not kept beside the program in %s: %s",
            qUtf8Printable(folder),
            !info.isDir()        ? "it is not a folder"
            : !info.isWritable() ? "it is not writable"
                                 : "it is a system folder");
  }
  // The XDG base directory rules ignore a relative path.
  QString config_home = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config_home.isEmpty() || QDir::isRelativePath(config_home)) {
    config_home = QDir::homePath() + QStringLiteral("/.config");
  }
  return QDir::cleanPath(config_home + QStringLiteral("/voxmere"));
}

QString SettingsFilePath(const QString& folder, QStringView file_name) {
  return QDir(folder).filePath(file_name.toString());
}

}  // namespace voxmere
