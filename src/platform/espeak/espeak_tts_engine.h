// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>

#include "platform/espeak/espeak_engine_core.h"
#include "platform/espeak/espeak_library.h"
#include "platform/espeak/espeak_parameters.h"
#include "platform/espeak/espeak_voice.h"
#include "platform/tts_engine.h"

namespace voxmere {

// One selected voice speaking into one destination. Lives on the
// user-interface thread: its calls come from there and its notifications go
// there. TextData only queues the text; espeak-ng synthesises on its own
// thread and the sound plays on libpulse's.
//
// Units: speed in words per minute (80..450), pitch in espeak-ng's units
// (0..100, 50 normal), volume as two 16-bit channel levels (65535 is
// espeak-ng's normal volume). The real-time rate is fixed at 100: espeak-ng
// always synthesises far faster than real time, so there is nothing to set.
class EspeakTtsEngine : public TtsEngine {
 public:
  static constexpr std::uint32_t kRealTime = 100;

  // For the sound device `connector` is the audio server, for a file `file`
  // is the file.
  EspeakTtsEngine(std::shared_ptr<EspeakLibrary> library, EspeakVoice voice,
                  std::shared_ptr<TtsAudioDestination> destination,
                  std::shared_ptr<PulseConnector> connector,
                  std::shared_ptr<EspeakFileOutput> file);
  ~EspeakTtsEngine() override;

  TtsResult QueryAttributes() override { return TtsResult::Ok(); }
  TtsResult QueryDialogs() override { return TtsResult::Ok(); }
  TtsResult Register(std::shared_ptr<TtsNotifySink> sink, std::uint32_t* key) override;
  TtsResult UnRegister(std::uint32_t key) override;
  TtsResult Inject(const QByteArray& tag) override;
  TtsResult TextData(int character_set, std::uint32_t options, const QByteArray& data,
                     std::uint32_t size, std::shared_ptr<TtsBufNotifySink> buf_sink) override;
  TtsResult AudioReset() override;
  TtsResult PitchGet(std::uint16_t* pitch) override;
  TtsResult PitchSet(std::uint16_t pitch) override;
  TtsResult RealTimeGet(std::uint32_t* real_time) override;
  TtsResult RealTimeSet(std::uint32_t real_time) override;
  TtsResult SpeedGet(std::uint32_t* speed) override;
  TtsResult SpeedSet(std::uint32_t speed) override;
  TtsResult VolumeGet(std::uint32_t* volume) override;
  TtsResult VolumeSet(std::uint32_t volume) override;

 private:
  const std::shared_ptr<EspeakLibrary> library_;
  const EspeakVoice voice_;
  const std::shared_ptr<TtsAudioDestination> destination_;
  EspeakParameters parameters_;
  QObject context_;  // where notifications are delivered
  std::shared_ptr<EspeakEngineCore> core_;
};

}  // namespace voxmere
