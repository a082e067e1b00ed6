#include "settings/settings_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace voxmere {

QString SettingsFolder(const QString& program_dir) {
  if (!program_dir.isEmpty()) {
    const QFileInfo info(program_dir);
    if (info.isDir() && info.isWritable()) return QDir::cleanPath(info.absoluteFilePath());
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
