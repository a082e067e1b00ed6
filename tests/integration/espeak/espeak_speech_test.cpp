// SPDX-License-Identifier: GPL-3.0-or-later
// espeak-ng speaking into the test sink, recorded from its monitor.
#include <gtest/gtest.h>

#include <pulse/pulseaudio.h>

#include <vector>

#include "espeak_test_support.h"
#include "support/audio_monitor.h"
#include "support/event_wait.h"
#include "support/hostile_text.h"

namespace voxmere::espeak_test {
namespace {

using namespace std::chrono_literals;

const QString kShort = QStringLiteral("Hello there, this is a short test.");
const QString kLong = QStringLiteral(
    "This sentence is long enough to keep the voice talking for a good few seconds, "
    "so that there is plenty of time to interrupt it while it is still speaking.");

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The whole sound of one reading: from the first segment to the last.
Clock::duration SoundLength(const AudioMonitor& monitor) {
  const auto segments = monitor.SoundSegments(300ms);
  if (segments.empty()) return Clock::duration::zero();
  return segments.back().end - segments.front().begin;
}

// Has the test server end every playback stream, as it does when a mixer
// kills a stream; returns how many there were.
int KillPlaybackStreams() {
  pa_mainloop* loop = pa_mainloop_new();
  pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "voxmere-test-killer");
  const auto run_until = [&](const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) pa_mainloop_iterate(loop, 1, nullptr);
    return done();
  };
  std::vector<std::uint32_t> streams;
  int pending = 0;
  if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 && run_until([&] {
        return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) ||
               pa_context_get_state(context) == PA_CONTEXT_READY;
      }) &&
      pa_context_get_state(context) == PA_CONTEXT_READY) {
    bool listed = false;
    struct Listing {
      std::vector<std::uint32_t>* streams;
      bool* listed;
    } listing{&streams, &listed};
    pa_operation_unref(pa_context_get_sink_input_info_list(
        context,
        [](pa_context*, const pa_sink_input_info* info, int eol, void* data) {
          auto* l = static_cast<Listing*>(data);
          if (eol) {
            *l->listed = true;
          } else {
            l->streams->push_back(info->index);
          }
        },
        &listing));
    run_until([&] { return listed; });
    for (const std::uint32_t index : streams) {
      ++pending;
      pa_operation_unref(pa_context_kill_sink_input(
          context, index, [](pa_context*, int, void* left) { --*static_cast<int*>(left); },
          &pending));
    }
    run_until([&] { return pending == 0; });
  }
  pa_context_disconnect(context);
  pa_context_unref(context);
  pa_mainloop_free(loop);
  return pending == 0 ? static_cast<int>(streams.size()) : -1;
}

TEST(EspeakSpeechTest, SpeaksAudiblyBetweenAudioStartAndAudioStop) {
  SpeakingEngine speaking;
  ASSERT_TRUE(speaking.ok);
  AudioMonitor monitor;
  const Clock::time_point asked = Clock::now();
  ASSERT_TRUE(Speak(*speaking.engine, kShort).Succeeded());
  EXPECT_LT(Clock::now() - asked, 50ms) << "TextData must return at once";

  const auto sound = monitor.WaitForSound(3s);
  ASSERT_TRUE(sound) << "nothing audible reached the sink";
  ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == 1; }, 10s));
  const auto silent = monitor.WaitForSilence(300ms, 3s);
  ASSERT_TRUE(silent);

  ASSERT_EQ(speaking.sink->events.size(), 2u);
  const RecordingSink::Event& start = speaking.sink->events[0];
  const RecordingSink::Event& stop = speaking.sink->events[1];
  EXPECT_TRUE(start.start);
  EXPECT_FALSE(stop.start);
  // The notifications follow the sound itself, not the synthesis (which ends
  // long before the sound does).
  EXPECT_LT(std::abs(Ms(start.at - *sound)), 150) << "AudioStart far from the first sound";
  EXPECT_GT(Ms(stop.at - *silent), -150) << "AudioStop came before the sound ended";
  EXPECT_LT(Ms(stop.at - *silent), 500) << "AudioStop came long after the sound ended";
  EXPECT_GT(Ms(*silent - *sound), 1000) << "the sentence sounds too short";
}

TEST(EspeakSpeechTest, QueuedTextsPlayInTurnWithAPairOfNotificationsEach) {
  SpeakingEngine speaking;
  ASSERT_TRUE(speaking.ok);
  AudioMonitor monitor;
  ASSERT_TRUE(Speak(*speaking.engine, QStringLiteral("First text.")).Succeeded());
  ASSERT_TRUE(Speak(*speaking.engine, QStringLiteral("Second text.")).Succeeded());
  ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == 2; }, 15s));
  ASSERT_TRUE(monitor.WaitForSilence(300ms, 3s));

  const auto& events = speaking.sink->events;
  ASSERT_EQ(events.size(), 4u);
  EXPECT_TRUE(events[0].start);
  EXPECT_FALSE(events[1].start);
  EXPECT_TRUE(events[2].start);
  EXPECT_FALSE(events[3].start);
  // The second text begins after the first one ended, so both are heard whole.
  const auto segments = monitor.SoundSegments(1ms);
  ASSERT_FALSE(segments.empty());
  EXPECT_LT(events[1].at, events[2].at);
  EXPECT_GT(Ms(events[3].at - events[2].at), 300) << "the second text hardly sounded";
}

TEST(EspeakSpeechTest, AudioResetSilencesAtOnceAndTheNextTextStillSpeaks) {
  SpeakingEngine speaking;
  ASSERT_TRUE(speaking.ok);
  AudioMonitor monitor;
  ASSERT_TRUE(Speak(*speaking.engine, kLong).Succeeded());
  ASSERT_TRUE(Speak(*speaking.engine, kLong).Succeeded());  // queued: must go too
  ASSERT_TRUE(monitor.WaitForSound(3s));
  ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Starts() == 1; }, 3s));
  PumpEventsFor(500ms);  // let it talk

  const Clock::time_point reset = Clock::now();
  ASSERT_TRUE(speaking.engine->AudioReset().Succeeded());
  const auto silent = monitor.WaitForSilence(400ms, 3s);
  ASSERT_TRUE(silent);
  EXPECT_LT(Ms(*silent - reset), 200) << "sound went on after the reset";
  ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == 1; }, 1s));
  PumpEventsFor(300ms);
  EXPECT_EQ(speaking.sink->events.size(), 2u) << "the dropped text must not start";

  monitor.Clear();
  ASSERT_TRUE(Speak(*speaking.engine, kShort).Succeeded());
  EXPECT_TRUE(monitor.WaitForSound(3s)) << "nothing spoken after the reset";
  ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == 2; }, 10s));
  EXPECT_EQ(speaking.sink->Starts(), 2);
}

// What looks like markup is read out: no pause of ten seconds, no crash on
// any of it, and the engine speaks on afterwards.
TEST(EspeakSpeechTest, MarkupAndControlCharactersAreSpokenAsText) {
  SpeakingEngine speaking;
  ASSERT_TRUE(speaking.ok);
  AudioMonitor monitor;
  ASSERT_TRUE(Speak(*speaking.engine, test_support::kBreakLookAlike).Succeeded());
  ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == 1; }, 9s))
      << "the look-alike of a ten-second pause took as long";
  const auto segments = monitor.SoundSegments(1500ms);
  ASSERT_FALSE(segments.empty());
  EXPECT_EQ(segments.size(), 1u) << "a long pause inside the text";

  // Ctrl+A and "0A" would be espeak-ng's command for volume 0: the words
  // after it must sound as long as with a blank there.
  std::vector<double> sounding;
  for (const char* text : {"One two three \x01"
                           "0A four five six seven eight nine ten.",
                           "One two three  0A four five six seven eight nine ten."}) {
    monitor.Clear();
    const int stops = speaking.sink->Stops();
    ASSERT_TRUE(Speak(*speaking.engine, QString::fromUtf8(text)).Succeeded());
    ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == stops + 1; }, 10s));
    const auto stretches = monitor.SoundSegments(400ms);
    ASSERT_FALSE(stretches.empty());
    sounding.push_back(Ms(stretches.back().end - stretches.front().begin));
  }
  EXPECT_GT(sounding[0], sounding[1] * 0.8) << "the words after Ctrl+A went silent";

  monitor.Clear();
  const int stops = speaking.sink->Stops();
  ASSERT_TRUE(Speak(*speaking.engine, test_support::HostileSelection()).Succeeded());
  ASSERT_TRUE(monitor.WaitForSound(5s));
  PumpEventsFor(2s);  // into the control characters and the markup
  ASSERT_TRUE(speaking.engine->AudioReset().Succeeded());
  ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == stops + 1; }, 5s));
  monitor.Clear();
  ASSERT_TRUE(Speak(*speaking.engine, kShort).Succeeded());
  EXPECT_TRUE(monitor.WaitForSound(3s));
  EXPECT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == stops + 2; }, 10s));
}

TEST(EspeakSpeechTest, SpeedPitchAndVolumeChangeTheSound) {
  SpeakingEngine speaking;
  ASSERT_TRUE(speaking.ok);
  AudioMonitor monitor;
  struct Take {
    Clock::duration length;
    double pitch_hz;
    double rms;
  };
  const auto take = [&](const char* tags) {
    speaking.engine->Inject(tags);
    monitor.Clear();
    const int stops = speaking.sink->Stops();
    EXPECT_TRUE(Speak(*speaking.engine, kShort).Succeeded());
    EXPECT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == stops + 1; }, 15s));
    monitor.WaitForSilence(300ms, 3s);
    const auto segments = monitor.SoundSegments(300ms);
    if (segments.empty()) return Take{Clock::duration::zero(), 0, 0};
    const Clock::time_point from = segments.front().begin, to = segments.back().end;
    return Take{SoundLength(monitor), monitor.EstimatePitchHz(from, to), monitor.Rms(from, to)};
  };

  const Take slow = take("\\Spd=120\\\\Pit=50\\\\Vol=4294967295\\");
  const Take fast = take("\\Spd=400\\");
  EXPECT_GT(Ms(slow.length), 1000);
  EXPECT_LT(Ms(fast.length), 0.6 * Ms(slow.length)) << "a higher speed must shorten the sound";

  const Take low = take("\\Spd=175\\\\Pit=10\\");
  const Take high = take("\\Pit=90\\");
  ASSERT_GT(low.pitch_hz, 0);
  EXPECT_GT(high.pitch_hz, 1.25 * low.pitch_hz) << "a higher pitch must raise the voice";

  const Take loud = take("\\Pit=50\\\\Vol=4294967295\\");
  const Take half = take("\\Vol=2147450879\\");  // 50 % on both channels
  const Take mute = take("\\Vol=0\\");
  EXPECT_GT(loud.rms, 500);
  EXPECT_LT(half.rms, 0.75 * loud.rms);
  EXPECT_GT(half.rms, 0.25 * loud.rms);
  EXPECT_EQ(mute.length, Clock::duration::zero()) << "volume 0 must be silent";
}

TEST(EspeakSpeechTest, ReleasingASpeakingEngineSilencesItQuietly) {
  SpeakingEngine speaking;
  ASSERT_TRUE(speaking.ok);
  AudioMonitor monitor;
  ASSERT_TRUE(Speak(*speaking.engine, kLong).Succeeded());
  ASSERT_TRUE(monitor.WaitForSound(3s));
  const Clock::time_point released = Clock::now();
  speaking.engine.reset();
  const auto silent = monitor.WaitForSilence(400ms, 3s);
  ASSERT_TRUE(silent);
  EXPECT_LT(Ms(*silent - released), 200);
  const std::size_t seen = speaking.sink->events.size();
  PumpEventsFor(300ms);
  EXPECT_EQ(speaking.sink->events.size(), seen) << "a released engine must not notify";
}

TEST(EspeakSpeechTest, AStreamTheServerKillsEndsTheReadingAndANewEngineSpeaks) {
  SpeakingEngine speaking;
  ASSERT_TRUE(speaking.ok);
  AudioMonitor monitor;
  ASSERT_TRUE(Speak(*speaking.engine, kLong).Succeeded());
  ASSERT_TRUE(monitor.WaitForSound(3s));
  ASSERT_TRUE(WaitUntil([&] { return speaking.sink->Starts() == 1; }, 3s));

  ASSERT_EQ(KillPlaybackStreams(), 1) << "expected our one playback stream";
  EXPECT_TRUE(WaitUntil([&] { return speaking.sink->Stops() == 1; }, 2s))
      << "a reading whose sound was cut off must end";
  ASSERT_TRUE(monitor.WaitForSilence(300ms, 3s));

  SpeakingEngine again;
  ASSERT_TRUE(again.ok);
  monitor.Clear();
  ASSERT_TRUE(Speak(*again.engine, kShort).Succeeded());
  EXPECT_TRUE(monitor.WaitForSound(3s));
  EXPECT_TRUE(WaitUntil([&] { return again.sink->Stops() == 1; }, 10s));
}

// The audio server of with_services.sh killed (as a crash) or started again.
bool AudioServer(const char* action) {
  return test_support::RunProcess(qEnvironmentVariable("VOXMERE_TEST_DAEMONS"),
                                  {action, "pulseaudio"}, 20000)
      .ok;
}

TEST(EspeakSpeechTest, NoModeIsSelectedWhileTheAudioServerIsGoneAndOneSpeaksOnceItIsBack) {
  SpeakingEngine speaking;
  ASSERT_TRUE(speaking.ok);
  std::shared_ptr<TtsAudioDestination> device;
  ASSERT_TRUE(
      speaking.factory->CreateAudioDestination(TtsObjectFactory::Destination::kSoundDevice, &device)
          .Succeeded());
  TtsModeInfo mode;
  ASSERT_TRUE(FindMode(*speaking.modes, "English (America)", &mode));

  ASSERT_TRUE(AudioServer("kill"));
  std::shared_ptr<TtsEngine> engine;
  EXPECT_FALSE(speaking.modes->Select(mode.mode_id, device, &engine).Succeeded())
      << "its speech would be lost without a word";

  ASSERT_TRUE(AudioServer("start"));
  AudioMonitor monitor;
  ASSERT_TRUE(speaking.modes->Select(mode.mode_id, device, &engine).Succeeded());
  ASSERT_TRUE(Speak(*engine, kShort).Succeeded());
  EXPECT_TRUE(monitor.WaitForSound(3s));
}

}  // namespace
}  // namespace voxmere::espeak_test
