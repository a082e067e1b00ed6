// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// The help window is part of the application: it logs under "voxmere.app",
// like the other desktop services.
Q_DECLARE_LOGGING_CATEGORY(HelpLog)

}  // namespace voxmere
