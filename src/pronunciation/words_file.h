// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

#include "pronunciation/pronunciation_entry.h"
#include "settings/settings_text.h"

namespace voxmere {

// words.ini is not an INI file but one entry per line:
//   word###***###pronunciation###***###flag CR LF
// compatible with the files of the Windows program.
inline constexpr QLatin1String kWordsSeparator("###***###");

// Splits one line (without its line end) the way the Windows program does:
// the word runs up to the first separator and the pronunciation up to the next;
// where a separator is missing, the first 8 characters are dropped instead;
// the flag is whatever remains, further separators included.
PronunciationEntry ParseWordsLine(QStringView line);

// Splits a whole file's text into entries. CR LF, a lone CR and a lone LF each
// end a line. A line end at the very end of the text ends the last line and
// does not start another, so a file written here (CR LF after every line)
// reads back with exactly as many entries as it has lines; an empty text gives
// no entries, while an empty line inside the text gives an entry of three
// empty texts.
PronunciationTable ParseWords(QStringView text);

// Empty when the entry reads back from the file exactly as it is; otherwise a
// message for the user naming the entry and what is wrong. An entry cannot be
// stored when its word or pronunciation contains the separator (or ends in a
// way that forms one with the separator that follows), when any of its texts
// holds a line break, or when a text is not valid Unicode. Whatever adds an
// entry should refuse such input with this message before it reaches the table.
QString WordsEntryProblem(const PronunciationEntry& entry);

// The file's text for the table: CR LF after every line, the last included;
// an empty table gives an empty text. Raises an Exception (with the message of
// WordsEntryProblem) for an entry that could not read back as it is.
QString FormatWords(const PronunciationTable& table);

// Replaces the table by the file's entries. A missing file leaves the table as
// it is. When `encoding` is given it receives the encoding the file was read
// in (left untouched for a missing file), so that a save can keep it.
void RestoreWords(const QString& path, PronunciationTable& table, TextEncoding* encoding = nullptr);

// Writes the whole table, atomically: a failed save leaves the old file whole.
// Every entry is checked first (see WordsEntryProblem); one that could not read
// back raises an Exception and nothing is written. The text is written in
// `encoding` when it reads back unchanged that way (a Windows-1252 file of the
// Windows program stays Windows-1252), else in UTF-8.
void SaveWords(const QString& path, const PronunciationTable& table,
               TextEncoding encoding = TextEncoding::kUtf8);

}  // namespace voxmere
