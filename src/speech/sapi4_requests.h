#pragma once

#include <QString>
#include <cstdint>

#include "speech/m_speech.h"

namespace voxmere {

// The program's request sequences on the SAPI 4 component.

// Selects the mode, then sets speed, pitch and volume in this order.
void ApplySapi4Voice(TMSpeech& speech, const QString& mode_name, std::uint32_t speed,
                     std::uint16_t pitch, std::uint32_t volume);

// Text := text (split into lines), then Speak.
void SpeakSapi4(TMSpeech& speech, const QString& text);

}  // namespace voxmere
