// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// Engine failures the speech adapters swallow by design.
// Off unless enabled, e.g. QT_LOGGING_RULES="voxmere.speech=true".
Q_DECLARE_LOGGING_CATEGORY(SpeechLog)

}  // namespace voxmere
