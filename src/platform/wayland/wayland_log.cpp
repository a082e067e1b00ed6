// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/wayland_log.h"

namespace voxmere {

// Off by default (critical messages only), as the X11 categories: the caller
// reports what the user needs to know.
Q_LOGGING_CATEGORY(WaylandLog, "voxmere.wayland", QtCriticalMsg)

}  // namespace voxmere
