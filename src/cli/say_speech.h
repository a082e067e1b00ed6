// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "cli/say_options.h"
#include "platform/speech_voice.h"
#include "platform/tts_engine.h"
#include "settings/cfg_keys.h"
#include "speech/sapi4_voice.h"
#include "speech/sapi5_voice.h"
#include "speech/voice_catalogue.h"
#include "speech/voices_list.h"

namespace voxmere {

// A failure of voxmere-say with the exit status it ends with.
struct SayFailure {
  int status;
  QString message;
};

inline constexpr int kSayExitNoEngine = 1;
inline constexpr int kSayExitUsage = 2;

// Both engines, probed and listed the way the tray program starts: the SAPI 5
// role is available when it connects and has a voice, the SAPI 4 role when it
// has modes; the catalogue lists the SAPI 4 modes first.
class SayEngines {
 public:
  // File output (for --wav) must be chosen before the catalogue selects the
  // modes, since every selection creates the audio destination.
  SayEngines(TtsObjectFactory& sapi4_factory, SpeechVoiceConnector& sapi5_connector,
             bool file_output);

  Sapi4Voice& Sapi4() { return sapi4_; }
  Sapi5Voice& Sapi5() { return sapi5_; }
  const VoicesList& Voices() const { return voices_; }
  bool AnyVoice() const { return voices_.Count() > 0; }
  VoiceEngine EngineOf(int position) const { return EngineOfEntry(sapi4_, position); }

  // Why no voice can speak, in one line.
  QString NoEngineReason() const;

 private:
  Sapi4Voice sapi4_;
  Sapi5Voice sapi5_;
  VoicesList voices_;
  bool sapi5_available_ = false;
  QString sapi5_problem_;
};

// "engine<TAB>name" per catalogue entry, in catalogue order.
QString VoiceListing(const SayEngines& engines);

// The voice and the numbers to speak with, in the stored scales of its
// engine.
struct SayVoice {
  int position = -1;
  int speed = 0;
  int pitch = 0;
  int volume = 0;
};

// Picks the voice of --voice, else the default voice of cfg.ini (the first
// entry when that is missing or not installed), and its numbers: the options'
// (checked against the voice's ranges), else cfg.ini's for the default voice
// (brought into range), else the voice's own defaults. Throws SayFailure.
SayVoice ChooseVoice(SayEngines& engines, const SayOptions& options, const CfgFile& cfg);

// Applies the voice, speaks the text and returns once its speech has ended.
// `start_timeout_ms` bounds the wait for the speech to begin. Throws
// SayFailure (status 1) when the engine fails or never starts.
void SpeakAndWait(SayEngines& engines, const SayVoice& voice, const QString& text,
                  int start_timeout_ms);

// Stops whatever the chosen engine is speaking (an interrupted run).
void StopSpeaking(SayEngines& engines, const SayVoice& voice);

}  // namespace voxmere
