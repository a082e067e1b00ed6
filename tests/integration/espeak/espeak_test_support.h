// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <memory>
#include <vector>

#include "platform/espeak/espeak_tts_factory.h"
#include "platform/tts_engine.h"
#include "support/test_application.h"
#include "support/wait_until.h"

namespace voxmere::espeak_test {

using Clock = std::chrono::steady_clock;

using test_support::PumpEventsFor;
using test_support::WaitUntil;

// Records the notifications with the time each arrived.
class RecordingSink : public TtsNotifySink {
 public:
  struct Event {
    bool start;
    Clock::time_point at;
  };
  std::vector<Event> events;

  int Count(bool start) const {
    int count = 0;
    for (const Event& event : events) count += event.start == start ? 1 : 0;
    return count;
  }
  int Starts() const { return Count(true); }
  int Stops() const { return Count(false); }

  TtsResult AttribChanged(std::uint32_t) override { return TtsResult::Ok(); }
  TtsResult AudioStart(std::uint64_t) override {
    events.push_back({true, Clock::now()});
    return TtsResult::Ok();
  }
  TtsResult AudioStop(std::uint64_t) override {
    events.push_back({false, Clock::now()});
    return TtsResult::Ok();
  }
  TtsResult Visual(std::uint64_t, char, char, std::uint32_t, const TtsMouth&) override {
    return TtsResult::Ok();
  }
};

// A text as the program hands it over: CR LF after the line, then the zero.
inline QByteArray TextBytes(const QString& text) {
  return (text + QStringLiteral("\r\n")).toUtf8() + '\0';
}

inline TtsResult Speak(TtsEngine& engine, const QString& text) {
  const QByteArray bytes = TextBytes(text);
  return engine.TextData(0, 0, bytes, static_cast<std::uint32_t>(bytes.size()), nullptr);
}

// The mode whose speaker is `speaker`, found as the program finds modes.
inline bool FindMode(TtsEnum& modes, const QString& speaker, TtsModeInfo* found) {
  if (!modes.Reset().Succeeded()) return false;
  TtsModeInfo mode;
  while (modes.Next(&mode).code == TtsResult::Code::kOk) {
    if (mode.speaker == speaker) {
      *found = mode;
      return true;
    }
  }
  return false;
}

// An engine for an English voice speaking into the sound device, with a
// recording sink registered.
struct SpeakingEngine {
  std::unique_ptr<EspeakTtsFactory> factory;
  std::shared_ptr<TtsEnum> modes;
  std::shared_ptr<TtsEngine> engine;
  std::shared_ptr<RecordingSink> sink = std::make_shared<RecordingSink>();
  bool ok = false;

  explicit SpeakingEngine(const QString& speaker = QStringLiteral("English (America)")) {
    // Engines post their notifications to the application's event loop.
    test_support::TestApplication();
    factory = std::make_unique<EspeakTtsFactory>();
    std::shared_ptr<TtsAudioDestination> device;
    TtsModeInfo mode;
    std::uint32_t key = 0;
    ok = factory->CreateEnumerator(&modes).Succeeded() &&
         factory->CreateAudioDestination(TtsObjectFactory::Destination::kSoundDevice, &device)
             .Succeeded() &&
         FindMode(*modes, speaker, &mode) &&
         modes->Select(mode.mode_id, device, &engine).Succeeded() &&
         engine->Register(sink, &key).Succeeded();
  }
};

}  // namespace voxmere::espeak_test
