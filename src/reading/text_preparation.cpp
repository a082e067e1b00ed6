#include "reading/text_preparation.h"

#include <QSet>
#include <cstdint>
#include <vector>

#include "reading/aho_corasick.h"
#include "reading/correction_row.h"
#include "reading/correction_run.h"

namespace voxmere {
namespace {

// Rows with longer words are applied on their own: around every replacement
// of a run the text is searched as far as the longest later word reaches.
constexpr qsizetype kLongestRunWord = 256;
// Bound on the transition table of one run (entries of 4 bytes).
constexpr int64_t kRunTableLimit = int64_t{1} << 22;

bool CanJoinRun(const CorrectionRow& row, qsizetype text_size) {
  return row.word.size() <= kLongestRunWord && text_size < (qsizetype{1} << 31);
}

// The rows from `first` on that one run may take, as many as the table bound
// allows (at least one).
size_t RunEnd(const std::vector<CorrectionRow>& rows, size_t first, qsizetype text_size) {
  QSet<char16_t> characters;
  int64_t total_length = 0;
  size_t last = first;
  for (; last < rows.size(); ++last) {
    const CorrectionRow& row = rows[last];
    if (row.word.isEmpty()) continue;
    if (!CanJoinRun(row, text_size)) break;
    QSet<char16_t> with_row = characters;
    for (QChar c : row.word) with_row.insert(FoldAsciiCase(c.unicode()));
    total_length += row.word.size();
    if (last > first && AhoCorasick::TableSize(total_length, with_row.size()) > kRunTableLimit) {
      break;
    }
    characters.swap(with_row);
  }
  return last;
}

QString ApplyCorrections(QString text, const std::vector<CorrectionRow>& rows) {
  size_t next = 0;
  while (next < rows.size()) {
    const CorrectionRow& row = rows[next];
    if (row.word.isEmpty()) {
      ++next;
    } else if (!CanJoinRun(row, text.size())) {
      text = ApplyRowStreaming(text, row);
      ++next;
    } else {
      size_t last = RunEnd(rows, next, text.size());
      while (true) {
        const std::optional<size_t> end = ApplyCorrectionRun(text, rows, next, last);
        if (end && *end > next) {
          next = *end;
          break;
        }
        if (end || last - next == 1) {  // not to be listed or decided there: stream it
          text = ApplyRowStreaming(text, row);
          ++next;
          break;
        }
        last = next + (last - next) / 2;
      }
    }
  }
  return text;
}

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
QString BlankIgnoredCharacters(const QString& text, const QString& ignored_characters) {
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
    // Same length: change a copy in place, made only at the first change.
    QString out = text;
    char16_t* to = nullptr;
    for (qsizetype i = 0; i < size; ++i) {
      if (is_pair(i)) {
        ++i;
      } else if (listed_unit[from[i]]) {
        if (to == nullptr) to = reinterpret_cast<char16_t*>(out.data());
        to[i] = u' ';
      }
    }
    return out;
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

QString PrepareText(const QString& captured, const PreparationInputs& inputs) {
  QString text = captured;
  if (inputs.ignore_characters) text = BlankIgnoredCharacters(text, inputs.ignored_characters);
  if (inputs.words_corrections && inputs.corrections != nullptr) {
    std::vector<CorrectionRow> rows;
    rows.reserve(inputs.corrections->size());
    for (const PronunciationEntry& entry : *inputs.corrections) {
      rows.push_back(MakeCorrectionRow(entry.word, entry.pronunciation,
                                       entry.case_sensitive == QLatin1String("No")));
    }
    text = ApplyCorrections(std::move(text), rows);
  }
  return text;
}

}  // namespace voxmere
