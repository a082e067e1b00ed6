// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_utterance.h"

#include <QString>
#include <algorithm>

#include "platform/speechd/sapi_markup.h"

namespace voxmere {
namespace {

// Characters XML does not allow, and the terminating zero of the C string
// libspeechd sends, become blanks: the engine would reject the whole message.
bool Speakable(char16_t u) {
  return !((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF);
}

// Appends the words escaped and in UTF-8, a slice at a time: a long text is
// never held again in full as UTF-16.
void AppendEscaped(QStringView words, QByteArray* out) {
  constexpr qsizetype kSlice = 1 << 14;
  for (qsizetype from = 0; from < words.size();) {
    qsizetype to = std::min(words.size(), from + kSlice);
    // A surrogate pair stays whole.
    if (to < words.size() && words[to - 1].isHighSurrogate()) ++to;
    QString slice = words.sliced(from, to - from).toString();
    for (QChar& c : slice) {
      if (!Speakable(c.unicode())) c = u' ';
    }
    out->append(EscapeSsml(slice).toUtf8());
    from = to;
  }
}

}  // namespace

int SpeechdRate(int rate) { return std::clamp(rate, -10, 10) * 10; }

int SpeechdVolume(int volume) { return std::clamp(volume, 0, 100) * 2 - 100; }

int SpeechdPitch(int markup_pitch) {
  return std::clamp(markup_pitch, kMinMarkupPitch, kMaxMarkupPitch) * 10;
}

SpeechdUtterance MakeSpeechdUtterance(QStringView text) {
  const SapiMarkupText read = ReadSapiMarkup(text);
  SpeechdUtterance utterance;
  utterance.pitch = SpeechdPitch(read.pitch);
  utterance.ssml = QByteArrayLiteral("<speak>");
  AppendEscaped(text.sliced(read.begin, read.end - read.begin), &utterance.ssml);
  utterance.ssml += QByteArrayLiteral("</speak>");
  return utterance;
}

}  // namespace voxmere
