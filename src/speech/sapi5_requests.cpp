#include "speech/sapi5_requests.h"

#include "speech/value_scales.h"

namespace voxmere {

bool ProbeSapi5(TSpVoice& voice) {
  try {
    voice.Connect();
    return voice.GetVoices(QString(), QString())->Count() > 0;
  } catch (...) {
    // Whatever went wrong, the program runs on without SAPI 5.
    return false;
  }
}

void ApplySapi5Voice(TSpVoice& voice, int position, int rate, int volume) {
  voice.Connect();
  const std::shared_ptr<SpeechObjectToken> token =
      voice.GetVoices(QString(), QString())->Item(position);
  voice.SetVoice(token);
  voice.SetRate(rate);
  voice.SetVolume(volume);
}

void SpeakSapi5(TSpVoice& voice, int pitch, const QString& text, PitchMarkupClose close) {
  QString request = PitchMarkup(pitch) + text;
  if (close == PitchMarkupClose::kClosed) request += PitchMarkupEnd();
  voice.Speak(request, SpeechVoiceServer::kFlagsAsync);
}

void StopSapi5(TSpVoice& voice) {
  voice.Speak(QString(), SpeechVoiceServer::kFlagsPurgeBeforeSpeak);
}

void ReadSapi5Slot(TSpVoice& voice, int position, int stored_speed, int stored_pitch,
                   int stored_volume, const QString& text) {
  StopSapi5(voice);
  ApplySapi5Voice(voice, position, Sapi5EngineValueFromNumber(stored_speed), stored_volume);
  SpeakSapi5(voice, Sapi5EngineValueFromNumber(stored_pitch), text);
}

}  // namespace voxmere
