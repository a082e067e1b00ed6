// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/say_speech.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "platform/exception.h"
#include "speech/sapi4_requests.h"
#include "speech/sapi5_requests.h"
#include "speech/value_scales.h"

namespace voxmere {
namespace {

// What a speech-dispatcher voice starts with when nothing is stored: the
// numbers the options window shows on choosing such a voice.
constexpr int kSapi5DefaultSpeed = 135;
constexpr int kSapi5DefaultPitch = 105;
constexpr int kSapi5DefaultVolume = 100;
constexpr int kSapi5MinNumber = 30;
constexpr int kSapi5MaxNumber = 330;

struct Range {
  int min;
  int max;
};

struct VoiceRanges {
  Range speed;
  Range pitch;
  Range volume;
};

[[noreturn]] void Throw(int status, const QString& message) { throw SayFailure{status, message}; }

QString EngineName(VoiceEngine engine) {
  return engine == VoiceEngine::kSapi4 ? QStringLiteral("espeak-ng")
                                       : QStringLiteral("speech-dispatcher");
}

// A number the user typed must fit; one from the settings file is brought
// into range, as the options window's bars would.
int Fit(const char* what, std::optional<int> given, int fallback, Range range) {
  if (given) {
    if (*given < range.min || *given > range.max) {
      Throw(kSayExitUsage, QStringLiteral("--%1 %2 is out of range for this voice (%3..%4)")
                               .arg(QLatin1String(what))
                               .arg(*given)
                               .arg(range.min)
                               .arg(range.max));
    }
    return *given;
  }
  return std::clamp(fallback, range.min, range.max);
}

int FindVoiceByName(const VoicesList& voices, const QString& name) {
  for (int i = 0; i < voices.Count(); ++i) {
    if (voices.Items()[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

}  // namespace

SayEngines::SayEngines(TtsObjectFactory& sapi4_factory, SpeechVoiceConnector& sapi5_connector,
                       bool file_output)
    : sapi4_(sapi4_factory), sapi5_(sapi5_connector) {
  if (file_output) sapi4_.SetOutput(Sapi4Output::kFile);
  // The tray program's start-up check, keeping the reason for the user.
  sapi5_available_ = ProbeSapi5(sapi5_, &sapi5_problem_);
  LoadVoicesList(sapi4_, sapi5_, sapi5_available_, voices_);
}

QString SayEngines::NoEngineReason() const {
  QString reason = QStringLiteral("no speech engine works: espeak-ng has no voice it can play");
  if (!sapi5_problem_.isEmpty()) {
    reason += QStringLiteral("; speech-dispatcher: %1").arg(sapi5_problem_);
  }
  return reason;
}

QString VoiceListing(const SayEngines& engines) {
  QString text;
  const VoicesList& voices = engines.Voices();
  for (int i = 0; i < voices.Count(); ++i) {
    text +=
        EngineName(engines.EngineOf(i)) + QLatin1Char('\t') + voices.Items()[i] + QLatin1Char('\n');
  }
  return text;
}

SayVoice ChooseVoice(SayEngines& engines, const SayOptions& options, const CfgFile& cfg) {
  if (!engines.AnyVoice()) Throw(kSayExitNoEngine, engines.NoEngineReason());
  SayVoice voice;
  bool stored_numbers = false;
  if (options.voice) {
    voice.position = FindVoiceByName(engines.Voices(), *options.voice);
    if (voice.position < 0) {
      Throw(kSayExitUsage,
            QStringLiteral("unknown voice '%1' (see --list-voices)").arg(*options.voice));
    }
  } else {
    const std::optional<QString> stored = cfg.TryReadString(kVoice);
    voice.position =
        stored ? FindStoredVoice(engines.Voices(), *stored, cfg.ReadInteger(kSAPIVersion)) : -1;
    stored_numbers = voice.position >= 0;
    if (voice.position < 0) voice.position = 0;
  }

  const VoiceEngine engine = engines.EngineOf(voice.position);
  if (!options.wav_file.isEmpty() && engine != VoiceEngine::kSapi4) {
    Throw(kSayExitUsage, QStringLiteral("--wav needs an espeak-ng voice; '%1' is a "
                                        "speech-dispatcher voice")
                             .arg(engines.Voices().Items()[voice.position]));
  }

  VoiceRanges ranges;
  SayVoice defaults;
  if (engine == VoiceEngine::kSapi4) {
    // Selecting the mode reads its ranges and its current values.
    Sapi4Voice& sapi4 = engines.Sapi4();
    try {
      sapi4.SelectEngine(Sapi4ModeNameOfEntry(sapi4, voice.position));
      if (!sapi4.EngineSelected()) Throw(kSayExitNoEngine, QStringLiteral("the voice failed"));
      const Sapi4EngineInfo& info = sapi4.EngineInfo();
      ranges = {{static_cast<int>(info.min_speed), static_cast<int>(info.max_speed)},
                {info.min_pitch, info.max_pitch},
                {0, 100}};
      defaults.speed = static_cast<int>(sapi4.Speed());
      defaults.pitch = sapi4.Pitch();
      defaults.volume = static_cast<int>(sapi4.Volume());
    } catch (const Exception& e) {
      Throw(kSayExitNoEngine, QStringLiteral("espeak-ng: %1").arg(e.Message()));
    }
  } else {
    ranges = {{kSapi5MinNumber, kSapi5MaxNumber}, {kSapi5MinNumber, kSapi5MaxNumber}, {0, 100}};
    defaults = {voice.position, kSapi5DefaultSpeed, kSapi5DefaultPitch, kSapi5DefaultVolume};
  }
  if (stored_numbers) {
    defaults.speed = cfg.TryReadInteger(kSpeed).value_or(defaults.speed);
    defaults.pitch = cfg.TryReadInteger(kPitch).value_or(defaults.pitch);
    defaults.volume = cfg.TryReadInteger(kVolume).value_or(defaults.volume);
  }
  voice.speed = Fit("speed", options.speed, defaults.speed, ranges.speed);
  voice.pitch = Fit("pitch", options.pitch, defaults.pitch, ranges.pitch);
  voice.volume = Fit("volume", options.volume, defaults.volume, ranges.volume);
  return voice;
}

void SpeakAndWait(SayEngines& engines, const SayVoice& voice, const QString& text,
                  int start_timeout_ms) {
  QEventLoop loop;
  bool started = false;
  bool ended = false;
  const auto start = [&started] { started = true; };
  const auto end = [&ended, &loop] {
    ended = true;
    loop.quit();
  };
  const VoiceEngine engine = engines.EngineOf(voice.position);
  const QString engine_name = EngineName(engine);
  int stream = -1;
  // The handlers refer to this frame: take them away again however we leave.
  struct HandlerReset {
    SayEngines& engines;
    ~HandlerReset() {
      engines.Sapi4().SetOnStart(nullptr);
      engines.Sapi4().SetOnStop(nullptr);
      engines.Sapi5().SetOnStartStream(nullptr);
      engines.Sapi5().SetOnEndStream(nullptr);
    }
  } reset{engines};
  try {
    if (engine == VoiceEngine::kSapi4) {
      Sapi4Voice& sapi4 = engines.Sapi4();
      sapi4.SetOnStart([&](TtsNotifySink&) { start(); });
      sapi4.SetOnStop([&](TtsNotifySink&) { end(); });
      ApplySapi4Voice(sapi4, Sapi4ModeNameOfEntry(sapi4, voice.position),
                      static_cast<std::uint32_t>(voice.speed),
                      static_cast<std::uint16_t>(voice.pitch),
                      static_cast<std::uint32_t>(voice.volume));
      SpeakSapi4(sapi4, text);
    } else {
      Sapi5Voice& sapi5 = engines.Sapi5();
      sapi5.SetOnStartStream([&](Sapi5Voice&, int, const QVariant&) { start(); });
      // Only the end of our own stream counts; the daemon may report others.
      sapi5.SetOnEndStream([&](Sapi5Voice&, int number, const QVariant&) {
        if (stream < 0 || number == stream) end();
      });
      ApplySapi5Voice(sapi5, Sapi5IndexOfEntry(engines.Sapi4(), voice.position),
                      Sapi5EngineValueFromNumber(voice.speed), voice.volume);
      stream = sapi5.Speak(PitchMarkup(Sapi5EngineValueFromNumber(voice.pitch)) + text,
                           SpeechVoiceServer::kFlagsAsync);
    }
  } catch (const Exception& e) {
    Throw(kSayExitNoEngine, QStringLiteral("%1: %2").arg(engine_name, e.Message()));
  }
  QTimer::singleShot(start_timeout_ms, &loop, [&] {
    if (!started && !ended) loop.quit();
  });
  if (!ended) loop.exec();
  if (!ended) {
    Throw(kSayExitNoEngine,
          QStringLiteral("%1: the voice did not start speaking").arg(engine_name));
  }
}

void StopSpeaking(SayEngines& engines, const SayVoice& voice) {
  try {
    if (engines.EngineOf(voice.position) == VoiceEngine::kSapi4) {
      engines.Sapi4().Stop();
    } else {
      StopSapi5(engines.Sapi5());
    }
  } catch (const Exception&) {
    // Ending anyway; nothing more to do about a stop that failed.
  }
}

}  // namespace voxmere
