// SPDX-License-Identifier: GPL-3.0-or-later
#include "pronunciation/words_file.h"

#include <array>

#include "platform/exception.h"

namespace voxmere {
namespace {

constexpr QLatin1String kLineEnd("\r\n");

// The text without its first `count` characters. A character outside the
// Basic Multilingual Plane counts once and goes whole: half of it left behind
// would be an invalid text that could never be saved again.
QStringView DropCharacters(QStringView text, int count) {
  qsizetype at = 0;
  for (int i = 0; i < count && at < text.size(); ++i) {
    const bool pair =
        text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
    at += pair ? 2 : 1;
  }
  return text.sliced(at);
}

// One step of the Windows program's split: the text before the first
// separator, and what follows it. Without a separator the part is empty and
// the first 8 characters are dropped (the program removed "position + 8"
// characters with a position of 0).
void TakePart(QStringView& rest, QString& part) {
  const qsizetype at = rest.indexOf(kWordsSeparator);
  if (at < 0) {
    part.clear();
    rest = DropCharacters(rest, 8);
  } else {
    part = rest.left(at).toString();
    rest = rest.mid(at + kWordsSeparator.size());
  }
}

QString FormatLine(const PronunciationEntry& entry) {
  return entry.word + kWordsSeparator + entry.pronunciation + kWordsSeparator +
         entry.case_sensitive;
}

bool HasLineBreak(const QString& text) {
  return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

}  // namespace

PronunciationEntry ParseWordsLine(QStringView line) {
  PronunciationEntry entry;
  QStringView rest = line;
  TakePart(rest, entry.word);
  TakePart(rest, entry.pronunciation);
  entry.case_sensitive = rest.toString();
  return entry;
}

PronunciationTable ParseWords(QStringView text) {
  PronunciationTable table;
  qsizetype begin = 0;
  const qsizetype size = text.size();
  while (begin < size) {
    qsizetype end = begin;
    while (end < size && text[end] != u'\r' && text[end] != u'\n') ++end;
    table.append(ParseWordsLine(text.mid(begin, end - begin)));
    if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n') ++end;
    begin = end + 1;  // past the line end; a final line end starts no new line
  }
  return table;
}

QString WordsEntryProblem(const PronunciationEntry& entry) {
  const QString name = entry.word.isEmpty() ? entry.pronunciation : entry.word;
  const std::array<const QString*, 3> texts = {&entry.word, &entry.pronunciation,
                                               &entry.case_sensitive};
  for (const QString* text : texts) {
    if (HasLineBreak(*text)) {
      return QStringLiteral(
                 "The pronunciation correction \"%1\" cannot be stored: it contains a line break.")
          .arg(name);
    }
    if (!QStringView(*text).isValidUtf16()) {
      return QStringLiteral(
                 "The pronunciation correction \"%1\" cannot be stored: it contains an invalid "
                 "character.")
          .arg(name);
    }
  }
  if (ParseWordsLine(FormatLine(entry)) != entry) {
    return QStringLiteral(
               "The pronunciation correction \"%1\" cannot be stored: a word or pronunciation "
               "must not contain \"%2\" nor end with a part of it.")
        .arg(name, QString(kWordsSeparator));
  }
  return {};
}

QString FormatWords(const PronunciationTable& table) {
  QString text;
  for (const PronunciationEntry& entry : table) {
    const QString problem = WordsEntryProblem(entry);
    if (!problem.isEmpty()) throw Exception(problem);
    text += FormatLine(entry);
    text += kLineEnd;
  }
  return text;
}

void RestoreWords(const QString& path, PronunciationTable& table, TextEncoding* encoding) {
  const std::optional<DecodedText> decoded = ReadSettingsText(path);
  if (!decoded) return;
  table = ParseWords(decoded->text);
  if (encoding != nullptr) *encoding = decoded->encoding;
}

void SaveWords(const QString& path, const PronunciationTable& table, TextEncoding encoding) {
  const QString text = FormatWords(table);
  if (text.isEmpty()) {
    WriteSettingsBytes(path, QByteArray());
    return;
  }
  // FormatWords has refused text that is not valid Unicode, so the encoder's
  // bytes always read back as this text.
  WriteSettingsBytes(path, EncodeSettingsText(text, encoding));
}

}  // namespace voxmere
