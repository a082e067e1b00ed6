// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "settings/ini_syntax.h"
#include "settings/settings_text.h"

namespace voxmere {

// An INI file in memory, read and written with the rules of the Windows
// profile functions (GetPrivateProfileString / WritePrivateProfileString):
// names matched without regard to case, the first matching section and the
// first matching key win, values trimmed and cut to 2047 characters.
//
// Every line keeps its text and its own line end, and the file keeps its
// encoding, so a single-value write changes one line and leaves every other
// byte as it was (including the lone-CR separator lines of TidyIniFile).
class IniDocument {
 public:
  IniDocument() = default;

  static IniDocument FromBytes(const QByteArray& bytes);
  // A missing file gives an empty document; one that cannot be read raises an
  // Exception naming it.
  static IniDocument Load(const QString& path);

  QByteArray ToBytes() const;
  // Atomic: a failed save leaves the old file whole and raises an Exception.
  void Save(const QString& path) const;

  // The trimmed value of the first matching key, none when it is missing.
  std::optional<QString> ReadValue(QStringView section, QStringView key) const;
  QString ReadString(QStringView section, QStringView key, const QString& default_value) const;
  // A missing key or a value that is not a number gives the default.
  int ReadInteger(QStringView section, QStringView key, int default_value) const;
  // Read as an integer: any non-zero number is true.
  bool ReadBool(QStringView section, QStringView key, bool default_value) const;
  // The key names of the first matching section, in file order.
  QStringList KeyNames(QStringView section) const;
  // A section counts as present only when it holds at least one key.
  bool HasKeys(QStringView section) const;

  // Writing rewrites an existing key's line as "key=value"; a new key goes
  // right after the last key of its section, a new section at the end of the
  // file. Names or values that would break the file's structure (line breaks,
  // "=" in a key name, "]" in a section name) raise an Exception.
  void WriteString(QStringView section, QStringView key, QStringView value);
  void WriteInteger(QStringView section, QStringView key, int value);
  void WriteBool(QStringView section, QStringView key, bool value);
  // Removes the first matching key line; returns whether there was one.
  bool DeleteKey(QStringView section, QStringView key);

  // The whole-file routines of the Windows program. Like it, they put every
  // line back with CR LF (so a lone-CR separator line becomes an empty line).
  // EraseSection removes every key of the first matching section and then its
  // header line.
  void EraseSection(QStringView section);
  // Replaces the first matching header by "[new_name]"; returns whether one was
  // found.
  bool RenameSection(QStringView old_name, QStringView new_name);
  // TidyIniFile on the text: drops empty lines and lines of exactly one blank,
  // then looks at every second line from the second on and puts a line holding
  // a single CR before each one that contains both "[" and "]".
  void Tidy();

  const QList<IniLine>& Lines() const { return lines_; }
  TextEncoding Encoding() const { return encoding_; }

 private:
  struct SectionRange {
    qsizetype header = -1;  // index of the header line
    qsizetype end = 0;      // one past the section's last line
  };
  std::optional<SectionRange> FindSection(QStringView section) const;
  std::optional<qsizetype> FindKey(const SectionRange& range, QStringView key) const;
  void EndAllLinesWithCrLf();

  QList<IniLine> lines_;
  TextEncoding encoding_ = TextEncoding::kUtf8;
};

}  // namespace voxmere
