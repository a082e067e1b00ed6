// SPDX-License-Identifier: GPL-3.0-or-later
#include "pronunciation/pronunciation_log.h"

namespace voxmere {

Q_LOGGING_CATEGORY(PronunciationLog, "voxmere.pronunciation", QtCriticalMsg)

}  // namespace voxmere
