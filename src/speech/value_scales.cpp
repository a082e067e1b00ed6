// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/value_scales.h"

#include <cmath>

namespace voxmere {

int Sapi5NumberFromEngineValue(int engine_value) {
  // 64-bit so that a wild value cannot overflow; results outside int wrap.
  return static_cast<int>(15LL * engine_value + 180);
}

int Sapi5EngineValueFromNumber(int stored_number) {
  return static_cast<int>(std::lround(stored_number / 15.0) - 12);
}

QString PitchMarkup(int pitch) { return QStringLiteral("<pitch middle=\"%1\">").arg(pitch); }

QString PitchMarkupEnd() { return QStringLiteral("</pitch>"); }

}  // namespace voxmere
