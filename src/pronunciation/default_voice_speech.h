// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "speech/default_voice_page.h"
#include "speech/sapi4_voice.h"
#include "speech/sapi5_voice.h"

namespace voxmere {

// Speaks `text` as it is (no ignored characters, no corrections) with the
// default voice as it stands on the Default voice page: the page applies its
// voice first; a SAPI 5 voice gets the pitch markup of the page's pitch bar
// in front, with no closing tag.
void SpeakWithDefaultVoice(DefaultVoicePage& page, Sapi4Voice& sapi4, Sapi5Voice& sapi5,
                           const QString& text);

}  // namespace voxmere
