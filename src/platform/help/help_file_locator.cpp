// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/help_file_locator.h"

#include <QDir>
#include <QFileInfo>

#include "platform/help/help_window_module.h"

namespace voxmere {
namespace {

// `name` beside the program, else in `installed_folder` (relative to the
// program's folder); empty when it is in neither.
QString BesideOrInstalled(const QString& program_dir, const char* name,
                          const char* installed_folder) {
  const QDir dir(program_dir);
  const QString file = QString::fromLatin1(name);
  for (const QString& candidate :
       {dir.filePath(file), dir.filePath(QLatin1String(installed_folder) + file)}) {
    const QFileInfo info(candidate);
    if (info.isFile() && info.isReadable()) return QDir::cleanPath(info.absoluteFilePath());
  }
  return {};
}

}  // namespace

QString LocateHelpFile(const QString& program_dir) {
  return BesideOrInstalled(program_dir, kHelpFileName, "../share/voxmere/");
}

QString LocateHelpModule(const QString& program_dir) {
  return BesideOrInstalled(program_dir, kHelpModuleFileName, "../lib/voxmere/");
}

}  // namespace voxmere
