// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// The speech-dispatcher back end: connections, timeouts, reconnects and the sound check.
// Off unless enabled, e.g. QT_LOGGING_RULES="voxmere.speechd=true".
Q_DECLARE_LOGGING_CATEGORY(SpeechdLog)

}  // namespace voxmere
