// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/dbus_log.h"

namespace voxmere {

// Off by default (critical messages only): everything logged here is a failure
// the program handles; a user turns it on when something does not work.
Q_LOGGING_CATEGORY(DBusLog, "voxmere.app", QtCriticalMsg)

}  // namespace voxmere
