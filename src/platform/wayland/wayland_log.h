// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// Reading the selection of a Wayland session: compositors that offer no way
// to read it, owners that do not answer. Off unless enabled, e.g.
// QT_LOGGING_RULES="voxmere.wayland=true".
Q_DECLARE_LOGGING_CATEGORY(WaylandLog)

}  // namespace voxmere
