// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_tts_enum.h"

#include <algorithm>

#include "platform/espeak/espeak_audio_destination.h"
#include "platform/espeak/espeak_tts_engine.h"

namespace voxmere {

EspeakTtsEnum::EspeakTtsEnum(std::shared_ptr<EspeakLibrary> library, QList<EspeakVoice> voices,
                             std::shared_ptr<PulseConnector> connector)
    : library_(std::move(library)), voices_(std::move(voices)), connector_(std::move(connector)) {
  for (const EspeakVoice& voice : voices_) {
    modes_.append(ModeInfoForVoice(voice, library_->Version()));
  }
}

TtsResult EspeakTtsEnum::Reset() {
  position_ = 0;
  return TtsResult::Ok();
}

TtsResult EspeakTtsEnum::Next(TtsModeInfo* mode) {
  if (mode == nullptr) return TtsResult::Failed(QStringLiteral("Invalid pointer"));
  if (position_ >= modes_.size()) return TtsResult::False();
  *mode = modes_[position_++];
  return TtsResult::Ok();
}

TtsResult EspeakTtsEnum::Skip(std::uint32_t count) {
  const qsizetype left = modes_.size() - position_;
  if (static_cast<qsizetype>(count) > left) {
    position_ = modes_.size();
    return TtsResult::False();
  }
  position_ += static_cast<qsizetype>(count);
  return TtsResult::Ok();
}

TtsResult EspeakTtsEnum::Select(const QString& mode_id,
                                std::shared_ptr<TtsAudioDestination> destination,
                                std::shared_ptr<TtsEngine>* engine) {
  if (engine == nullptr || !destination) {
    return TtsResult::Failed(QStringLiteral("Invalid pointer"));
  }
  const auto found = std::find_if(modes_.begin(), modes_.end(), [&](const TtsModeInfo& mode) {
    return mode.mode_id.compare(mode_id, Qt::CaseInsensitive) == 0;
  });
  if (found == modes_.end()) {
    return TtsResult::Failed(QStringLiteral("The text-to-speech mode is not installed"));
  }
  const EspeakVoice& voice = voices_[found - modes_.begin()];
  if (const auto file = std::dynamic_pointer_cast<EspeakFileDestination>(destination)) {
    *engine =
        std::make_shared<EspeakTtsEngine>(library_, voice, destination, nullptr, file->Output());
    return TtsResult::Ok();
  }
  if (std::dynamic_pointer_cast<EspeakSoundDevice>(destination)) {
    if (!connector_) return TtsResult::Failed(QStringLiteral("No sound output"));
    // Speech is played only once it has been synthesised, and a failure
    // then would be silence: without an audio server (it went away, or is
    // restarting) the selection fails, so the reading can say so.
    QString reason;
    if (!connector_->Get(&reason)) {
      return TtsResult::Failed(QStringLiteral("No audio server: %1").arg(reason));
    }
    *engine = std::make_shared<EspeakTtsEngine>(library_, voice, destination, connector_, nullptr);
    return TtsResult::Ok();
  }
  return TtsResult::Failed(QStringLiteral("Unknown audio destination"));
}

}  // namespace voxmere
