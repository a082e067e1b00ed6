// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// Hot keys that could not be registered and presses that were dropped.
// Off unless enabled, e.g. QT_LOGGING_RULES="voxmere.reading=true".
Q_DECLARE_LOGGING_CATEGORY(ReadingLog)

}  // namespace voxmere
