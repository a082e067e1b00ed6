// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder the speech tests rely on, checked against tones of known
// pitch and length played into the test sink.
#include "support/audio_monitor.h"

#include <gtest/gtest.h>
#include <pulse/error.h>
#include <pulse/simple.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

namespace voxmere {
namespace {

using namespace std::chrono_literals;

constexpr int kRate = 22050;

// Appends `seconds` of a sine of `hz` (0: silence) at a clearly audible level.
void AddTone(std::vector<std::int16_t>* out, double hz, double seconds) {
  const int count = static_cast<int>(seconds * kRate);
  for (int i = 0; i < count; ++i) {
    const double value = hz > 0 ? 8000 * std::sin(2 * std::numbers::pi * hz * i / kRate) : 0;
    out->push_back(static_cast<std::int16_t>(value));
  }
}

// Plays the samples on the default sink and returns once they have played.
void Play(const std::vector<std::int16_t>& samples) {
  const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
  int error = 0;
  pa_simple* simple = pa_simple_new(nullptr, "voxmere-test-tone", PA_STREAM_PLAYBACK, nullptr,
                                    "tone", &format, nullptr, nullptr, &error);
  ASSERT_NE(simple, nullptr) << pa_strerror(error);
  EXPECT_EQ(pa_simple_write(simple, samples.data(), samples.size() * 2, &error), 0);
  EXPECT_EQ(pa_simple_drain(simple, &error), 0);
  pa_simple_free(simple);
}

double Ms(AudioMonitor::Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

TEST(AudioMonitorTest, FindsTonesTheirLengthsAndPitches) {
  AudioMonitor monitor;
  EXPECT_FALSE(monitor.WaitForSound(300ms)) << "the idle sink must record silence";

  std::vector<std::int16_t> tones;
  AddTone(&tones, 0, 0.1);
  AddTone(&tones, 150, 0.4);
  AddTone(&tones, 0, 0.3);
  AddTone(&tones, 300, 0.4);
  AddTone(&tones, 0, 0.1);
  const auto played = AudioMonitor::Clock::now();
  std::thread player([&] { Play(tones); });
  const auto sound = monitor.WaitForSound(3s);
  ASSERT_TRUE(sound);
  EXPECT_GT(*sound, played);
  const auto stopped = monitor.WaitForSilence(400ms, 5s);
  player.join();
  ASSERT_TRUE(stopped);

  const auto segments = monitor.SoundSegments(100ms);
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0].begin, *sound);
  EXPECT_EQ(segments[1].end, *stopped);
  // The time line follows the samples: lengths and the gap come out as played
  // (a sine's first loud sample comes a fraction of a millisecond late).
  EXPECT_NEAR(Ms(segments[0].end - segments[0].begin), 400, 15);
  EXPECT_NEAR(Ms(segments[1].begin - segments[0].end), 300, 15);
  EXPECT_NEAR(Ms(segments[1].end - segments[1].begin), 400, 15);
  EXPECT_NEAR(monitor.EstimatePitchHz(segments[0].begin, segments[0].end), 150, 3);
  EXPECT_NEAR(monitor.EstimatePitchHz(segments[1].begin, segments[1].end), 300, 5);
  EXPECT_EQ(monitor.EstimatePitchHz(segments[0].end + 50ms, segments[1].begin - 50ms), 0);
  // A sine of amplitude 8000 has an RMS of 8000 / sqrt(2).
  EXPECT_NEAR(monitor.Rms(segments[0].begin + 50ms, segments[0].end - 50ms), 5657, 200);

  monitor.Clear();
  EXPECT_TRUE(monitor.SoundSegments(100ms).empty());
  EXPECT_TRUE(monitor.WaitForSilence(100ms, 2s)) << "silence is found after a Clear too";
}

}  // namespace
}  // namespace voxmere
