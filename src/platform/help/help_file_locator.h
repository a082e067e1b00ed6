// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// The help file's name, the same in the build folder and when installed.
inline constexpr const char* kHelpFileName = "voxmere.qch";

// The help file of the program in `program_dir`: voxmere.qch beside the
// program (the build folder, or a copy unpacked anywhere), else
// ../share/voxmere/voxmere.qch (installed under a prefix). Empty when neither
// exists. Looked up at every request, so a file deleted meanwhile counts as
// missing.
QString LocateHelpFile(const QString& program_dir);

// The module with the help window (kHelpModuleFileName), likewise: beside the
// program, else ../lib/voxmere/. Empty when neither exists.
QString LocateHelpModule(const QString& program_dir);

}  // namespace voxmere
