// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace voxmere {

// speech-dispatcher takes rate, pitch and volume on -100..100 (0 = the
// voice's default, 100 = the loudest). The Windows voice takes rate -10..10,
// volume 0..100 and markup pitch -10..10; values outside are clamped, as the
// Windows engine does.
int SpeechdRate(int rate);
int SpeechdVolume(int volume);
int SpeechdPitch(int markup_pitch);

// One message for speech-dispatcher in SSML mode: the pitch to set before it
// and the SSML document. A text at one pitch is spoken with that pitch set on
// the connection (speech-dispatcher's own scale works for every output
// module); a text whose markup changes pitch inside it keeps one message, so
// one start and one end event, with pitch 0 set and each other stretch in a
// relative prosody element.
struct SpeechdUtterance {
  int pitch = 0;
  QByteArray ssml;
};

SpeechdUtterance MakeSpeechdUtterance(const QString& text);

}  // namespace voxmere
