// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_tts_engine.h"

#include <algorithm>
#include <utility>

#include "platform/espeak/espeak_log.h"

namespace voxmere {
namespace {

bool IsBlankByte(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

TtsResult NoPlace() { return TtsResult::Failed(QStringLiteral("Invalid pointer")); }

}  // namespace

EspeakTtsEngine::EspeakTtsEngine(std::shared_ptr<EspeakLibrary> library, EspeakVoice voice,
                                 std::shared_ptr<TtsAudioDestination> destination,
                                 std::shared_ptr<PulseConnector> connector,
                                 std::shared_ptr<EspeakFileOutput> file)
    : library_(std::move(library)),
      voice_(std::move(voice)),
      destination_(std::move(destination)),
      core_(std::make_shared<EspeakEngineCore>(&context_, library_->SampleRate(),
                                               std::move(connector), std::move(file))) {}

EspeakTtsEngine::~EspeakTtsEngine() {
  // Speech in progress stops; a text still being synthesised holds the core
  // until its synthesis notices and ends.
  core_->Close();
}

TtsResult EspeakTtsEngine::Register(std::shared_ptr<TtsNotifySink> sink, std::uint32_t* key) {
  if (!sink || key == nullptr) return NoPlace();
  *key = core_->Register(std::move(sink));
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::UnRegister(std::uint32_t key) {
  if (!core_->UnRegister(key)) return TtsResult::Failed(QStringLiteral("Invalid sink key"));
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::Inject(const QByteArray& tag) {
  if (ApplyControlTags(tag, &parameters_) == 0) {
    qCDebug(EspeakLog, "The control tag \"%s\" was ignored: it sets nothing espeak-ng knows",
            tag.constData());
  }
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::TextData(int character_set, std::uint32_t, const QByteArray& data,
                                    std::uint32_t size,
                                    std::shared_ptr<TtsBufNotifySink> buf_sink) {
  // Plain text only; tags are set through Inject.
  if (character_set != 0) {
    return TtsResult::Failed(QStringLiteral("Only plain text can be spoken"));
  }
  if (size == 0 || size > static_cast<std::uint32_t>(data.size())) {
    return TtsResult::Failed(QStringLiteral("Invalid text size"));
  }
  // The text is shared, not copied: it may be many megabytes. Synthesis
  // stops at its first zero.
  QByteArray text = data.left(static_cast<qsizetype>(size));
  const qsizetype end = text.indexOf('\0');
  const QByteArrayView words = QByteArrayView(text).first(end < 0 ? text.size() : end);
  if (std::all_of(words.begin(), words.end(), [](char c) { return IsBlankByte(c); })) {
    return TtsResult::Ok();
  }
  EspeakLibrary::Job job;
  job.target = core_;
  job.text_id = core_->AddText(std::move(buf_sink));
  job.voice_identifier = voice_.identifier.toUtf8();
  job.parameters = parameters_;
  job.text = std::move(text);
  library_->Submit(std::move(job));
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::AudioReset() {
  core_->Reset();
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::PitchGet(std::uint16_t* pitch) {
  if (pitch == nullptr) return NoPlace();
  *pitch = parameters_.pitch;
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::PitchSet(std::uint16_t pitch) {
  parameters_.SetPitch(pitch);
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::RealTimeGet(std::uint32_t* real_time) {
  if (real_time == nullptr) return NoPlace();
  *real_time = kRealTime;
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::RealTimeSet(std::uint32_t) { return TtsResult::Ok(); }

TtsResult EspeakTtsEngine::SpeedGet(std::uint32_t* speed) {
  if (speed == nullptr) return NoPlace();
  *speed = parameters_.speed;
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::SpeedSet(std::uint32_t speed) {
  parameters_.SetSpeed(speed);
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::VolumeGet(std::uint32_t* volume) {
  if (volume == nullptr) return NoPlace();
  *volume = parameters_.volume;
  return TtsResult::Ok();
}

TtsResult EspeakTtsEngine::VolumeSet(std::uint32_t volume) {
  parameters_.SetVolume(volume);
  return TtsResult::Ok();
}

}  // namespace voxmere
