// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_utterance.h"

#include <algorithm>
#include <vector>

#include "platform/speechd/sapi_markup.h"

namespace voxmere {
namespace {

// Characters XML does not allow, and the terminating zero of the C string
// libspeechd sends, become blanks: the engine would reject the whole message.
QString Speakable(const QString& text) {
  QString out = text;
  for (QChar& c : out) {
    const char16_t u = c.unicode();
    if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF) {
      c = u' ';
    }
  }
  return out;
}

}  // namespace

int SpeechdRate(int rate) { return std::clamp(rate, -10, 10) * 10; }

int SpeechdVolume(int volume) { return std::clamp(volume, 0, 100) * 2 - 100; }

int SpeechdPitch(int markup_pitch) {
  return std::clamp(markup_pitch, kMinMarkupPitch, kMaxMarkupPitch) * 10;
}

SpeechdUtterance MakeSpeechdUtterance(const QString& text) {
  const std::vector<PitchSegment> segments = ReadSapiMarkup(text);
  SpeechdUtterance utterance;
  QString ssml = QStringLiteral("<speak>");
  const bool one_pitch = std::all_of(segments.begin(), segments.end(), [&](const PitchSegment& s) {
    return s.pitch == segments.front().pitch;
  });
  if (one_pitch) {
    if (!segments.empty()) utterance.pitch = SpeechdPitch(segments.front().pitch);
    for (const PitchSegment& segment : segments) ssml += EscapeSsml(Speakable(segment.text));
  } else {
    // Relative to pitch 0 a percentage moves espeak-ng's pitch exactly as the
    // connection's pitch setting would (its pitch is 50 +/- half the value).
    for (const PitchSegment& segment : segments) {
      const QString body = EscapeSsml(Speakable(segment.text));
      if (segment.pitch == 0) {
        ssml += body;
      } else {
        const int percent = SpeechdPitch(segment.pitch);
        const QString change = (percent > 0 ? QStringLiteral("+") : QString()) +
                               QString::number(percent) + QStringLiteral("%");
        ssml += QStringLiteral("<prosody pitch=\"") + change + QStringLiteral("\">") + body +
                QStringLiteral("</prosody>");
      }
    }
  }
  ssml += QStringLiteral("</speak>");
  utterance.ssml = ssml.toUtf8();
  return utterance;
}

}  // namespace voxmere
