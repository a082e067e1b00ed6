// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <memory>

#include "platform/espeak/espeak_library.h"
#include "platform/espeak/espeak_voice.h"
#include "platform/espeak/pulse_connection.h"
#include "platform/tts_engine.h"

namespace voxmere {

// The modes of espeak-ng in a fixed order, so that a mode found by position
// is the same mode every time.
class EspeakTtsEnum : public TtsEnum {
 public:
  // `connector` is null when only files can be written.
  EspeakTtsEnum(std::shared_ptr<EspeakLibrary> library, QList<EspeakVoice> voices,
                std::shared_ptr<PulseConnector> connector);

  TtsResult Reset() override;
  TtsResult Next(TtsModeInfo* mode) override;
  TtsResult Skip(std::uint32_t count) override;
  TtsResult Select(const QString& mode_id, std::shared_ptr<TtsAudioDestination> destination,
                   std::shared_ptr<TtsEngine>* engine) override;

 private:
  const std::shared_ptr<EspeakLibrary> library_;
  const QList<EspeakVoice> voices_;
  const std::shared_ptr<PulseConnector> connector_;
  QList<TtsModeInfo> modes_;
  qsizetype position_ = 0;
};

}  // namespace voxmere
