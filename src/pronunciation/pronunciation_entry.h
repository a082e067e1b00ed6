// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace voxmere {

// One pronunciation correction: the word to look for, the text spoken in its
// place, and the case flag as it is stored and shown. The program writes only
// "Yes" (match with regard to case) and "No" (match without regard to case);
// a hand-edited file may hold anything there, and the text is kept as it is.
struct PronunciationEntry {
  QString word;
  QString pronunciation;
  QString case_sensitive;

  friend bool operator==(const PronunciationEntry&, const PronunciationEntry&) = default;
};

// The corrections in table order; nothing sorts them.
using PronunciationTable = QList<PronunciationEntry>;

}  // namespace voxmere
