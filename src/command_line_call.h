// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace voxmere {

// The command line's requests of the running program (--read, --stop, ...)
// and --help, done before anything of a start happens: no display, no
// window, a quick end. Returns the exit status, or nullopt when the command
// line starts the program.
std::optional<int> RunCommandLineCall(int argc, char** argv);

}  // namespace voxmere
