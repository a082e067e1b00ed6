// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/help_file_locator.h"

#include <QDir>
#include <QFileInfo>

namespace voxmere {

QString LocateHelpFile(const QString& program_dir) {
  const QDir dir(program_dir);
  const QString name = QString::fromLatin1(kHelpFileName);
  for (const QString& candidate :
       {dir.filePath(name), dir.filePath(QStringLiteral("../share/voxmere/") + name)}) {
    const QFileInfo info(candidate);
    if (info.isFile() && info.isReadable()) return QDir::cleanPath(info.absoluteFilePath());
  }
  return {};
}

}  // namespace voxmere
