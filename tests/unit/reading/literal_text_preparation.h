// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The replacement loop and text preparation written the plain way the Windows
// program works: search, cut and splice the whole text at every match, make
// fresh lower-case copies for every case-insensitive search. Slow on purpose;
// the fast implementation must give exactly the same results. The only
// addition is the fix for the loop that never ends: a word whose replacement
// contains it again after its first character resumes after the inserted text.

#include <QString>
#include <QStringView>
#include <ostream>

#include "reading/text_preparation.h"

namespace voxmere::literal {

inline QString LowerAtoZ(const QString& text) {
  QString copy = text;
  for (QChar& c : copy) {
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  }
  return copy;
}

// First position >= start where `word` lies wholly inside `text`, or -1; an
// empty word is never found.
inline qsizetype Find(const QString& text, const QString& word, qsizetype start) {
  if (word.isEmpty()) return -1;
  for (qsizetype p = start; p + word.size() <= text.size(); ++p) {
    if (QStringView(text).mid(p, word.size()) == word) return p;
  }
  return -1;
}

inline QString ReplaceAll(QString result, const QString& word, const QString& replacement,
                          bool ignore_case) {
  const auto compared = [&](const QString& s) { return ignore_case ? LowerAtoZ(s) : s; };
  const bool never_ends = Find(compared(replacement), compared(word), 1) >= 0;
  qsizetype start = 0;
  while (true) {
    const qsizetype p = Find(compared(result), compared(word), start);
    if (p < 0) return result;
    result = result.left(p) + replacement + result.mid(p + word.size());
    start = never_ends ? p + replacement.size() : p + 1;
  }
}

// Ignored characters are taken one by one (a surrogate pair as one character)
// and each replaced by a blank with the loop above.
inline QString PrepareText(const QString& captured, const PreparationInputs& inputs) {
  QString text = captured;
  if (inputs.ignore_characters) {
    const QString& list = inputs.ignored_characters;
    for (qsizetype i = 0; i < list.size(); ++i) {
      qsizetype length = 1;
      if (list[i].isHighSurrogate() && i + 1 < list.size() && list[i + 1].isLowSurrogate()) {
        length = 2;
      }
      text = ReplaceAll(text, list.mid(i, length), QStringLiteral(" "), false);
      i += length - 1;
    }
  }
  if (inputs.words_corrections && inputs.corrections != nullptr) {
    const qsizetype rows = inputs.corrections->size();
    for (qsizetype row = 0; row < rows; ++row) {
      const PronunciationEntry& entry = (*inputs.corrections)[row];
      text = ReplaceAll(text, entry.word, entry.pronunciation,
                        entry.case_sensitive == QLatin1String("No"));
    }
  }
  return text;
}

}  // namespace voxmere::literal

// Test failures print texts readably (internal linkage: one copy per test file).
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
