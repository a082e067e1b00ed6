// SPDX-License-Identifier: GPL-3.0-or-later
// Time from the speak call to the first audible sample on the test sink: the
// program's two speech back ends (through the adapters it speaks with), next
// to the engines' own command-line tools measured the same way in the same
// run. Run by ./scripts/bench inside private services (a PulseAudio null sink
// and a warm speech-dispatcher daemon). Figures are per repetition; read the
// median rows.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/espeak/espeak_tts_factory.h"
#include "platform/speechd/speechd_voice_connector.h"
#include "speech/sapi4_requests.h"
#include "speech/sapi4_voice.h"
#include "speech/sapi5_requests.h"
#include "speech/sapi5_voice.h"
#include "support/audio_monitor.h"

namespace voxmere {
namespace {

using Clock = AudioMonitor::Clock;
using std::chrono::milliseconds;

const QString kText = QStringLiteral("Hello, this is a test of the speech latency.");

// The application, the engines and the monitor live until the process ends
// and are never destroyed: the benchmark library owns main(), and tearing
// engine threads down during static destruction would race with Qt's own.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "bench_speech_latency";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  (void)app;
}

AudioMonitor& Monitor() {
  static AudioMonitor* monitor = new AudioMonitor;
  return *monitor;
}

// Lets queued engine notifications run while waiting.
void PumpFor(milliseconds duration) {
  const Clock::time_point until = Clock::now() + duration;
  while (Clock::now() < until) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(milliseconds(2));
  }
}

// The first sound recorded since `start` (the monitor was cleared just before
// it), or nothing within the timeout.
std::optional<Clock::time_point> FirstSoundAfter(milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    const auto segments = Monitor().SoundSegments(milliseconds(50));
    if (!segments.empty()) return segments.front().begin;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    std::this_thread::sleep_for(milliseconds(1));
  }
  return std::nullopt;
}

// One measured repetition: `speak` starts the speech, `stop` ends it.
template <typename Speak, typename Stop>
void Measure(benchmark::State& state, Speak speak, Stop stop) {
  for (auto _ : state) {
    Monitor().WaitForSilence(milliseconds(150), milliseconds(3000));
    Monitor().Clear();
    const Clock::time_point start = Clock::now();
    speak();
    const std::optional<Clock::time_point> heard = FirstSoundAfter(milliseconds(5000));
    if (!heard) {
      state.SkipWithError("nothing was heard within 5 s");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(*heard - start).count());
    stop();
    PumpFor(milliseconds(100));
  }
}

void BM_EspeakBackEnd(benchmark::State& state) {
  EnsureApplication();
  static Sapi4Voice& speech = *new Sapi4Voice(*new EspeakTtsFactory);
  if (speech.EngineNames().isEmpty()) {
    state.SkipWithError("espeak-ng has no voice it can play");
    return;
  }
  static const bool applied = [] {
    ApplySapi4Voice(speech, speech.EngineNames().first(), 175, 50, 100);
    return true;
  }();
  (void)applied;
  Measure(
      state, [] { SpeakSapi4(speech, kText); }, [] { speech.Stop(); });
}

void BM_EspeakCommandLine(benchmark::State& state) {
  EnsureApplication();
  auto process = std::make_shared<QProcess>();
  Measure(
      state, [&] { process->start(QStringLiteral("espeak-ng"), {kText}); },
      [&] {
        process->kill();
        process->waitForFinished();
      });
}

void BM_SpeechdBackEnd(benchmark::State& state) {
  EnsureApplication();
  static Sapi5Voice& voice = *new Sapi5Voice(*new SpeechdVoiceConnector);
  static const bool available = ProbeSapi5(voice);
  if (!available) {
    state.SkipWithError("speech-dispatcher is not available");
    return;
  }
  // Warm: the voice list is read once and a first text has been spoken.
  static const bool warmed = [] {
    ApplySapi5Voice(voice, 0, 0, 100);
    SpeakSapi5(voice, 0, QStringLiteral("warm"));
    PumpFor(milliseconds(1500));
    StopSapi5(voice);
    return true;
  }();
  (void)warmed;
  Measure(
      state, [] { SpeakSapi5(voice, 0, kText); }, [] { StopSapi5(voice); });
}

void BM_SpdSayCommandLine(benchmark::State& state) {
  EnsureApplication();
  Measure(
      state, [] { QProcess::startDetached(QStringLiteral("spd-say"), {kText}); },
      [] { QProcess::execute(QStringLiteral("spd-say"), {QStringLiteral("--cancel")}); });
}

void Configure(benchmark::internal::Benchmark* benchmark) {
  benchmark->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1)
      ->Repetitions(20)
      ->ReportAggregatesOnly(true);
}

BENCHMARK(BM_EspeakBackEnd)->Apply(Configure);
BENCHMARK(BM_EspeakCommandLine)->Apply(Configure);
BENCHMARK(BM_SpeechdBackEnd)->Apply(Configure);
BENCHMARK(BM_SpdSayCommandLine)->Apply(Configure);

}  // namespace
}  // namespace voxmere
