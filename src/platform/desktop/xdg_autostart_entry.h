// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/startup_entry.h"

namespace voxmere {

// The start-up entry as an XDG autostart desktop entry. Its presence with a
// non-empty Exec key (and not marked Hidden, which the autostart rules read as
// deleted) is the entry's state.
class XdgAutostartEntry : public StartupEntry {
 public:
  // The entry at DefaultAutostartEntryPath().
  XdgAutostartEntry();
  explicit XdgAutostartEntry(QString file_path);

  bool Exists() const override;
  // Written atomically, naming the program as AutostartProgram() does; the
  // autostart folder is created when missing.
  void Write(const QString& program_path) override;
  void Remove() override;

  const QString& FilePath() const { return file_path_; }

 private:
  QString file_path_;
};

// The program as the start-up entry names it: the bare file name
// ("voxmere") when a search of PATH for that name finds this very file, as
// the menu entry of an installed program names it; else `program_path`
// itself.
QString AutostartProgram(const QString& program_path);

// One argument of an Exec key before the key's string escapes: as it is when
// it holds no reserved character, else in double quotes with the double
// quote, backquote, dollar and backslash escaped by a backslash; a literal %
// is doubled either way (field codes).
QString QuoteExecArgument(const QString& argument);

// A value as a desktop entry string: \ as \\ and line feed, tab and carriage
// return as \n, \t, \r.
QString EscapeDesktopString(const QString& value);

// The whole entry that starts `program_path` with "-autostart". Throws
// voxmere::Exception when the path holds a control character that a desktop
// entry cannot carry.
QString AutostartEntryText(const QString& program_path);

}  // namespace voxmere
