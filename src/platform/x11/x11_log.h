// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// Hot key grabs, key names and key injection on X11. Off unless enabled, e.g.
// QT_LOGGING_RULES="voxmere.x11=true".
Q_DECLARE_LOGGING_CATEGORY(X11Log)

// The clipboard during a capture: owners that do not answer, formats that
// could not be kept, restores that failed. Off unless enabled, e.g.
// QT_LOGGING_RULES="voxmere.clipboard=true".
Q_DECLARE_LOGGING_CATEGORY(ClipboardLog)

}  // namespace voxmere
