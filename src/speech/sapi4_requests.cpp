// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi4_requests.h"

namespace voxmere {

void ApplySapi4Voice(Sapi4Voice& speech, const QString& mode_name, std::uint32_t speed,
                     std::uint16_t pitch, std::uint32_t volume) {
  speech.SelectEngine(mode_name);
  speech.SetSpeed(speed);
  speech.SetPitch(pitch);
  speech.SetVolume(volume);
}

void SpeakSapi4(Sapi4Voice& speech, const QString& text) {
  speech.SetText(text);
  speech.Speak();
  // The engine holds its own share of the text while it speaks; kept here
  // too, a long text would stay in memory until the next reading.
  speech.SetText(QString());
}

}  // namespace voxmere
