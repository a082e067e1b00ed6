// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace voxmere {

// speech-dispatcher takes rate, pitch and volume on -100..100 (0 = the
// voice's default, 100 = the loudest). The Windows voice takes rate -10..10,
// volume 0..100 and markup pitch -10..10; values outside are clamped, as the
// Windows engine does.
int SpeechdRate(int rate);
int SpeechdVolume(int volume);
int SpeechdPitch(int markup_pitch);

// One message for speech-dispatcher in SSML mode: the pitch of the text's
// leading pitch tag, set on the connection before it (speech-dispatcher's own
// scale works for every output module), and the SSML document holding the
// rest of the text as escaped text, never as markup.
struct SpeechdUtterance {
  int pitch = 0;
  QByteArray ssml;
};

SpeechdUtterance MakeSpeechdUtterance(QStringView text);

}  // namespace voxmere
