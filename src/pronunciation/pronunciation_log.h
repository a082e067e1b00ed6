// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// Failures the pronunciation page handles silently (words.ini that cannot be
// deleted). Off unless enabled, e.g. QT_LOGGING_RULES="voxmere.pronunciation=true".
Q_DECLARE_LOGGING_CATEGORY(PronunciationLog)

}  // namespace voxmere
