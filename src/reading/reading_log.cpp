// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/reading_log.h"

namespace voxmere {

// Off by default (critical messages only): everything logged here is a failure
// the program handles; a user turns it on when something does not work.
Q_LOGGING_CATEGORY(ReadingLog, "voxmere.reading", QtCriticalMsg)

}  // namespace voxmere
