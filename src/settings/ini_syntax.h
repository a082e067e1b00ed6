// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace voxmere {

// How a line of an INI file ended, so that lines nobody changed are written
// back exactly as they came.
enum class LineEnd { kCrLf, kCr, kLf, kNone };

struct IniLine {
  QString text;
  LineEnd end = LineEnd::kCrLf;

  friend bool operator==(const IniLine&, const IniLine&) = default;
};

// Splits text into lines the way the Windows program does: CR LF, a lone CR
// and a lone LF each end a line. A line end at the very end of the text does
// not start another (empty) line.
QList<IniLine> SplitIniLines(QStringView text);

// The lines put back together, each with its own line end.
QString JoinIniLines(const QList<IniLine>& lines);

QStringView LineEndText(LineEnd end);

// A section header is a line whose text, blanks and tabs trimmed, starts with
// "[" and holds a "]"; its name is the trimmed text between "[" and the first
// "]". Other lines give no value.
std::optional<QStringView> IniHeaderName(QStringView line);

// A key line is any line that is neither a header nor a comment (";" first
// after blanks) and holds "=" with a non-empty name before it. The name is the
// trimmed text before the first "="; the raw value is everything after it.
struct IniKeyLine {
  QStringView name;
  QStringView raw_value;
};
std::optional<IniKeyLine> IniKeyOf(QStringView line);

// Section and key names are matched without regard to case, blanks and tabs
// around them ignored.
bool IniNamesMatch(QStringView a, QStringView b);

// Checks that a section name, key name or value can be written without
// changing the structure of the file (a line break in a value would start a
// new line; "=" in a key name would move the split). Raises an Exception
// saying what is wrong.
void CheckIniSectionName(QStringView section);
void CheckIniKeyName(QStringView key);
void CheckIniValue(QStringView value);

}  // namespace voxmere
