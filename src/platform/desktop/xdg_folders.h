// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// An XDG base folder: the variable's value when it is an absolute path (the
// base directory rules ignore empty and relative values), else the home
// folder plus `home_relative_default` (".config", ".local/state").
QString XdgBaseFolder(const char* variable, const QString& home_relative_default);

// $XDG_CONFIG_HOME/autostart/voxmere.desktop
QString DefaultAutostartEntryPath();

// $XDG_STATE_HOME/voxmere/debug.txt
QString DefaultTraceFilePath();

}  // namespace voxmere
