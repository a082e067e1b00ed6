// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "speech/sapi5_voice.h"

namespace voxmere {

// The program's request sequences on the SAPI 5 voice component.

// The start-up check: Connect, then the voice collection's Count. False when
// there is no voice or anything fails; then `problem` (when given) says which.
bool ProbeSapi5(Sapi5Voice& voice, QString* problem = nullptr);

// Applies voice number `position` of a fresh collection with an engine rate
// and volume: Connect; GetVoices; Item; Voice; Rate; Volume. A position
// outside the collection fails in Item.
void ApplySapi5Voice(Sapi5Voice& voice, int position, int rate, int volume);

enum class PitchMarkupClose { kOpen, kClosed };

// Queues `text` behind current speech with the pitch markup for `pitch` in
// front (and the closing tag after it for kClosed).
void SpeakSapi5(Sapi5Voice& voice, int pitch, const QString& text,
                PitchMarkupClose close = PitchMarkupClose::kOpen);

// `text` with `markup` in front, made in the text's own buffer: it grows
// where it lies (the allocator moves the pages of a large block rather than
// copying them) and the text slides up, so a long selection is never held
// twice. A text shared with others is copied once, as any change would.
QString WithMarkupInFront(QString text, QStringView markup);

// Discards what is spoken and everything queued: Speak("", 2). Issued even
// when nothing is being spoken.
void StopSapi5(Sapi5Voice& voice);

}  // namespace voxmere
