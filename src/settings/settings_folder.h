// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace voxmere {

inline constexpr QStringView kCfgFileName = u"cfg.ini";
inline constexpr QStringView kSlotsFileName = u"slots.ini";
inline constexpr QStringView kWordsFileName = u"words.ini";

// Where the three settings files live: the program's own folder when it is a
// writable directory (a portable copy keeps its settings beside it, as on
// Windows) and not where programs are installed (a system folder, or a bin
// folder with the installed ../share/voxmere beside it), else
// $XDG_CONFIG_HOME/voxmere, where an unset, empty or relative XDG_CONFIG_HOME
// means $HOME/.config.
QString SettingsFolder(const QString& program_dir);

// folder + "/" + file name.
QString SettingsFilePath(const QString& folder, QStringView file_name);

}  // namespace voxmere
