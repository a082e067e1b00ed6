// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace voxmere {

// The espeak-ng back end: library start, voices, synthesis and the audio server.
// Off unless enabled, e.g. QT_LOGGING_RULES="voxmere.espeak=true".
Q_DECLARE_LOGGING_CATEGORY(EspeakLog)

}  // namespace voxmere
