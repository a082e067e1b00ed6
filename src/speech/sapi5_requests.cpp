// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi5_requests.h"

#include <algorithm>
#include <cstring>

#include "platform/exception.h"
#include "speech/speech_log.h"
#include "speech/value_scales.h"

namespace voxmere {

bool ProbeSapi5(Sapi5Voice& voice, QString* problem) {
  QString found;
  try {
    voice.Connect();
    if (voice.GetVoices(QString(), QString())->Count() > 0) return true;
    found = QStringLiteral("it has no voices");
  } catch (...) {
    // Whatever went wrong, the program runs on without SAPI 5.
    found = CurrentExceptionMessage();
  }
  qCWarning(SpeechLog, "SAPI 5 probe failed: %s", qUtf8Printable(found));
  if (problem != nullptr) *problem = found;
  return false;
}

void ApplySapi5Voice(Sapi5Voice& voice, int position, int rate, int volume) {
  voice.Connect();
  const std::shared_ptr<SpeechObjectToken> token =
      voice.GetVoices(QString(), QString())->Item(position);
  voice.SetVoice(token);
  voice.SetRate(rate);
  voice.SetVolume(volume);
}

void SpeakSapi5(Sapi5Voice& voice, int pitch, const QString& text, PitchMarkupClose close) {
  QString request = PitchMarkup(pitch) + text;
  if (close == PitchMarkupClose::kClosed) request += PitchMarkupEnd();
  voice.Speak(request, SpeechVoiceServer::kFlagsAsync);
}

QString WithMarkupInFront(QString text, QStringView markup) {
  const qsizetype length = text.size();
  text.resize(length + markup.size());
  QChar* const data = text.data();
  std::memmove(data + markup.size(), data, static_cast<std::size_t>(length) * sizeof(QChar));
  std::copy(markup.begin(), markup.end(), data);
  return text;
}

void StopSapi5(Sapi5Voice& voice) {
  voice.Speak(QString(), SpeechVoiceServer::kFlagsPurgeBeforeSpeak);
}

}  // namespace voxmere
