// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_tts_factory.h"

#include "platform/espeak/espeak_audio_destination.h"
#include "platform/espeak/espeak_log.h"
#include "platform/espeak/espeak_tts_enum.h"
#include "platform/espeak/espeak_voice.h"
#include "platform/exception.h"

namespace voxmere {

EspeakTtsFactory::EspeakTtsFactory(Options options)
    : options_(options),
      connector_(options.sound_device ? std::make_shared<PulseConnector>(options.audio_timeout)
                                      : nullptr) {}

TtsResult EspeakTtsFactory::StartLibrary() {
  if (library_) return TtsResult::Ok();
  try {
    library_ = EspeakLibrary::Instance();
  } catch (const Exception& e) {
    qCWarning(EspeakLog, "espeak-ng did not start: %s", qUtf8Printable(e.Message()));
    return TtsResult::Failed(e.Message());
  }
  return TtsResult::Ok();
}

TtsResult EspeakTtsFactory::CreateEnumerator(std::shared_ptr<TtsEnum>* enumerator) {
  if (enumerator == nullptr) return TtsResult::Failed(QStringLiteral("Invalid pointer"));
  if (TtsResult started = StartLibrary(); !started.Succeeded()) return started;
  QList<EspeakVoice> voices;
  // No audio server, no voices: the program then sees the engine as missing
  // instead of speaking into nowhere.
  if (!connector_ || connector_->Get()) {
    voices = OrderVoicesForLocale(library_->Voices(), LocaleLanguageTagFromEnvironment());
  } else {
    qCWarning(EspeakLog, "espeak-ng offers no voices: there is no audio server to play them");
  }
  *enumerator = std::make_shared<EspeakTtsEnum>(library_, voices, connector_);
  return TtsResult::Ok();
}

TtsResult EspeakTtsFactory::CreateAudioDestination(
    Destination kind, std::shared_ptr<TtsAudioDestination>* destination) {
  if (destination == nullptr) return TtsResult::Failed(QStringLiteral("Invalid pointer"));
  if (kind == Destination::kSoundDevice) {
    *destination = std::make_shared<EspeakSoundDevice>();
    return TtsResult::Ok();
  }
  if (TtsResult started = StartLibrary(); !started.Succeeded()) return started;
  *destination = std::make_shared<EspeakFileDestination>(library_->SampleRate());
  return TtsResult::Ok();
}

}  // namespace voxmere
