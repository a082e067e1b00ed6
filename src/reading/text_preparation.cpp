// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/text_preparation.h"

#include <QSet>
#include <utility>
#include <vector>

#include "reading/correction_row.h"
#include "reading/corrections.h"

namespace voxmere {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

}  // namespace

QString ReplaceAll(const QString& text, const QString& word, const QString& replacement) {
  return ApplyRowStreaming(text, MakeCorrectionRow(word, replacement, false));
}

QString ReplaceAllIgnoringCase(const QString& text, const QString& word,
                               const QString& replacement) {
  return ApplyRowStreaming(text, MakeCorrectionRow(word, replacement, true));
}

// Replacing a listed character by a blank cannot make a new occurrence of
// another listed character (a listed blank changes nothing), so one pass over
// the text gives the same as one replacement loop per listed character.
QString BlankIgnoredCharacters(QString text, const QString& ignored_characters) {
  std::vector<bool> listed_unit(65536, false);
  QSet<char32_t> listed_pairs;
  for (qsizetype i = 0; i < ignored_characters.size(); ++i) {
    const char16_t c = ignored_characters[i].unicode();
    if (IsHighSurrogate(c) && i + 1 < ignored_characters.size() &&
        IsLowSurrogate(ignored_characters[i + 1].unicode())) {
      listed_pairs.insert(QChar::surrogateToUcs4(c, ignored_characters[++i].unicode()));
    } else if (c != u' ') {
      listed_unit[c] = true;
    }
  }
  const auto* from = reinterpret_cast<const char16_t*>(text.utf16());
  const qsizetype size = text.size();
  auto is_pair = [&](qsizetype i) {
    return IsHighSurrogate(from[i]) && i + 1 < size && IsLowSurrogate(from[i + 1]);
  };
  if (listed_pairs.isEmpty()) {
    // Same length: changed in place, so a long text is not held twice; it is
    // copied only when shared, at the first change.
    char16_t* to = nullptr;
    for (qsizetype i = 0; i < size; ++i) {
      if (is_pair(i)) {
        ++i;
      } else if (listed_unit[from[i]]) {
        if (to == nullptr) from = to = reinterpret_cast<char16_t*>(text.data());
        to[i] = u' ';
      }
    }
    return text;
  }
  QString out;
  out.reserve(size);
  for (qsizetype i = 0; i < size; ++i) {
    if (is_pair(i)) {
      if (listed_pairs.contains(QChar::surrogateToUcs4(from[i], from[i + 1]))) {
        out.append(QLatin1Char(' '));
      } else {
        out.append(QStringView(from + i, 2));
      }
      ++i;
    } else {
      out.append(listed_unit[from[i]] ? QChar(u' ') : QChar(from[i]));
    }
  }
  return out;
}

QString PrepareText(QString captured, const PreparationInputs& inputs) {
  QString text = std::move(captured);
  if (inputs.ignore_characters) {
    text = BlankIgnoredCharacters(std::move(text), inputs.ignored_characters);
  }
  if (inputs.words_corrections && inputs.corrections != nullptr) {
    std::vector<CorrectionRow> rows;
    rows.reserve(inputs.corrections->size());
    for (const PronunciationEntry& entry : *inputs.corrections) {
      rows.push_back(MakeCorrectionRow(entry.word, entry.pronunciation,
                                       entry.case_sensitive == QLatin1String("No")));
    }
    text = ApplyCorrections(text, rows);
  }
  return text;
}

}  // namespace voxmere
