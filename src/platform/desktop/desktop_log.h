// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// The desktop services are the application's own: they log under the
// application's category, "voxmere.app" (the same name as AppLog in app/,
// which this library cannot link). Off unless enabled, e.g.
// QT_LOGGING_RULES="voxmere.app=true".
Q_DECLARE_LOGGING_CATEGORY(DesktopLog)

}  // namespace voxmere
