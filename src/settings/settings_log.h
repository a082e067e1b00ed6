// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// Settings files and values that are not used as they stand.
// Off unless enabled, e.g. QT_LOGGING_RULES="voxmere.settings=true".
Q_DECLARE_LOGGING_CATEGORY(SettingsLog)

}  // namespace voxmere
