// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// SAPI 5 speed and pitch are shown and stored as 15 * e + 180, where e is the
// engine's rate or the markup pitch (-10..10, so 30..330 stored). Volume is
// stored as the engine takes it. Nothing is clamped: a stored number outside
// 30..330 gives an engine value outside -10..10, passed on as computed.
int Sapi5NumberFromEngineValue(int engine_value);
// nearest(d / 15) - 12, in floating point; d / 15 never ends in exactly one
// half, so the rounding direction of ties never matters.
int Sapi5EngineValueFromNumber(int stored_number);

// The pitch markup put in front of a SAPI 5 text: <pitch middle="N">, N in
// plain decimal (minus sign when negative, no plus sign, no leading zeros).
QString PitchMarkup(int pitch);
// Closes the markup (SpeakSapi5 with PitchMarkupClose::kClosed).
QString PitchMarkupEnd();

}  // namespace voxmere
