// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

#include "speech/sapi4_voice.h"

namespace voxmere {

// The program's request sequences on the SAPI 4 component.

// Selects the mode, then sets speed, pitch and volume in this order.
void ApplySapi4Voice(Sapi4Voice& speech, const QString& mode_name, std::uint32_t speed,
                     std::uint16_t pitch, std::uint32_t volume);

// Text := text (split into lines), then Speak; the component keeps no text.
void SpeakSapi4(Sapi4Voice& speech, const QString& text);

}  // namespace voxmere
