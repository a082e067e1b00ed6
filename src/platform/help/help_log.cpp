// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/help_log.h"

namespace voxmere {

// Off by default (critical messages only), as every category of the program.
Q_LOGGING_CATEGORY(HelpLog, "voxmere.app", QtCriticalMsg)

}  // namespace voxmere
