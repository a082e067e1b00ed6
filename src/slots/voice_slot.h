// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "reading/short_cut.h"

namespace voxmere {

// One voice slot as slots.ini holds it: a hot key bound to a voice with its own
// speed, pitch and volume.
struct VoiceSlot {
  // The voice list entry without its " (SAPI5)" suffix.
  QString voice;
  // 5 is a SAPI 5 voice (speech-dispatcher here); every other value SAPI 4
  // (espeak-ng here). Kept as read, so that a file's odd value survives.
  int sapi_version = 4;
  // As read, unchecked: a value that is no number shows as it stands and only
  // fails when the slot is used or edited.
  QString speed;
  QString pitch;
  QString volume;
  // Normalised: formatted and parsed again, so keypad digits become top-row
  // digits and codes without a name become 0.
  ShortCut hot_key = 0;
  QString hot_key_text;

  bool IsSapi5() const { return sapi_version == 5; }
};

}  // namespace voxmere
