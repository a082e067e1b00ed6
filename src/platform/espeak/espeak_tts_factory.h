// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <memory>

#include "platform/espeak/espeak_library.h"
#include "platform/espeak/pulse_connection.h"
#include "platform/tts_engine.h"

namespace voxmere {

// The SAPI 4 role on espeak-ng: its voices are the modes. Create it on the
// user-interface thread; engines deliver their notifications to the thread
// that selected them.
//
// Speaking aloud needs an audio server, writing WAV files does not. With
// `sound_device` set (the tray program) the enumerator lists no modes when no
// audio server answers within `audio_timeout`, which makes the engine
// unavailable; without it (writing files only) the modes are listed anyway
// and only file destinations can be selected.
class EspeakTtsFactory : public TtsObjectFactory {
 public:
  struct Options {
    bool sound_device = true;
    std::chrono::milliseconds audio_timeout{2000};
  };

  EspeakTtsFactory() : EspeakTtsFactory(Options{}) {}
  explicit EspeakTtsFactory(Options options);

  TtsResult CreateEnumerator(std::shared_ptr<TtsEnum>* enumerator) override;
  TtsResult CreateAudioDestination(Destination kind,
                                   std::shared_ptr<TtsAudioDestination>* destination) override;

 private:
  TtsResult StartLibrary();

  const Options options_;
  const std::shared_ptr<PulseConnector> connector_;
  std::shared_ptr<EspeakLibrary> library_;
};

}  // namespace voxmere
