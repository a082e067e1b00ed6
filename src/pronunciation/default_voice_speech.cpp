// SPDX-License-Identifier: GPL-3.0-or-later
#include "pronunciation/default_voice_speech.h"

#include "speech/sapi4_requests.h"
#include "speech/sapi5_requests.h"

namespace voxmere {

void SpeakWithDefaultVoice(DefaultVoicePage& page, Sapi4Voice& sapi4, Sapi5Voice& sapi5,
                           const QString& text) {
  page.SelectDefaultVoice();
  if (page.IsSapi4Entry(page.voices_list.ItemIndex())) {
    SpeakSapi4(sapi4, text);
  } else {
    SpeakSapi5(sapi5, page.pitch_bar.Position(), text, PitchMarkupClose::kOpen);
  }
}

}  // namespace voxmere
