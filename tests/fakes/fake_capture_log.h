// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace voxmere {

// One log that several fakes write to, so a test can check the order of calls
// across platform services.
using CaptureLog = std::vector<std::string>;

}  // namespace voxmere
