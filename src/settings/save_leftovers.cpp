// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/save_leftovers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "settings/settings_folder.h"
#include "settings/settings_log.h"

namespace voxmere {

bool IsSaveLeftoverName(const QString& file_name) {
  // Qt fills the six places with letters only.
  static const QRegularExpression kPattern(QRegularExpression::anchoredPattern(
      QStringLiteral("(%1|%2|%3)\\.([A-Za-z]{6})")
          .arg(QRegularExpression::escape(kCfgFileName), QRegularExpression::escape(kSlotsFileName),
               QRegularExpression::escape(kWordsFileName))));
  const QRegularExpressionMatch match = kPattern.match(file_name);
  if (!match.hasMatch()) return false;
  // Qt's letters are of both cases nearly always (97 in 100); a name a user
  // gave a copy of theirs ("cfg.ini.backup", "cfg.ini.BEFORE") is of one.
  // Such a copy is never taken for ours: a rare leftover of one case stays.
  const QString letters = match.captured(2);
  return letters != letters.toLower() && letters != letters.toUpper();
}

QStringList RemoveSaveLeftovers(const QString& folder, std::chrono::seconds min_age) {
  QStringList removed;
  const QDir dir(folder);
  if (!dir.exists()) return removed;
  const QDateTime newest = QDateTime::currentDateTimeUtc().addSecs(-min_age.count());
  const QFileInfoList entries = dir.entryInfoList(QDir::Files);
  for (const QFileInfo& info : entries) {
    if (!IsSaveLeftoverName(info.fileName()) || info.isSymLink() || !info.isFile()) continue;
    if (info.lastModified().toUTC() > newest) continue;
    if (QFile::remove(info.absoluteFilePath())) {
      removed.append(info.fileName());
    } else {
      qCWarning(SettingsLog, "The leftover of a cut-short save was not removed: %s",
                qUtf8Printable(QDir::toNativeSeparators(info.absoluteFilePath())));
    }
  }
  if (!removed.isEmpty()) {
    qCInfo(SettingsLog, "Removed the leftovers of cut-short saves in %s: %s",
           qUtf8Printable(QDir::toNativeSeparators(folder)), qUtf8Printable(removed.join(u", ")));
  }
  return removed;
}

}  // namespace voxmere
