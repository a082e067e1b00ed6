// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voice_name.h"

namespace voxmere {

QString StoredVoiceName(const QString& list_entry) {
  const qsizetype at = list_entry.indexOf(QStringLiteral("(SAPI5)"));
  if (at < 0) return list_entry;
  return list_entry.left(qMax<qsizetype>(0, at - 1));
}

}  // namespace voxmere
