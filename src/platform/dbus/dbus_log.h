// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// The remote control logs under the application's category, "voxmere.app".
// Off unless enabled, e.g. QT_LOGGING_RULES="voxmere.app=true".
Q_DECLARE_LOGGING_CATEGORY(DBusLog)

}  // namespace voxmere
