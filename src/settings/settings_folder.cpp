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

// The bin folder of a program installed under any prefix (/usr/local, ~/.local
// ...): its data folder lies beside it. Other programs' files share the
// folder, so one user's settings have no place there either.
bool IsInstalledProgramFolder(const QString& path) {
  return QFileInfo(path + QStringLiteral("/../share/voxmere")).isDir();
}

}  // namespace

QString SettingsFolder(const QString& program_dir) {
  if (!program_dir.isEmpty()) {
    const QFileInfo info(program_dir);
    const QString folder = QDir::cleanPath(info.absoluteFilePath());
    const bool system = IsSystemFolder(folder);
    const bool installed = IsInstalledProgramFolder(folder);
    if (info.isDir() && info.isWritable() && !system && !installed) return folder;
    qCDebug(SettingsLog, "The settings are not kept beside the program in %s: %s",
            qUtf8Printable(folder),
            !info.isDir()        ? "it is not a folder"
            : !info.isWritable() ? "it is not writable"
            : system             ? "it is a system folder"
                                 : "the program is installed there");
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
