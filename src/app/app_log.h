// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// Failures the application shell handles silently: readings that end in a beep, start-up probes,
// settings saves, the clean-up. Off unless enabled, e.g. QT_LOGGING_RULES="voxmere.app=true".
Q_DECLARE_LOGGING_CATEGORY(AppLog)

}  // namespace voxmere
