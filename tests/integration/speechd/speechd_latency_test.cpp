// SPDX-License-Identifier: GPL-3.0-or-later
// Time from Speak to the first audible sample on the sink, against the
// daemon's own client spd-say measured the same way. The figures are
// printed; the bound only catches a gross fault (such as audio waiting for
// a whole block of an idle sink).
#include <gtest/gtest.h>

#include <QProcess>
#include <algorithm>

#include "platform/speechd/speechd_voice_connector.h"
#include "speechd_test_support.h"
#include "support/audio_monitor.h"

namespace voxmere {
namespace {

using namespace std::chrono_literals;
using Server = SpeechVoiceServer;

constexpr int kRounds = 20;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

TEST(SpeechdLatencyTest, FirstSoundComesAboutAsSoonAsWithSpdSay) {
  test_support::TestApplication();
  AudioMonitor monitor;
  SpeechdVoiceConnector connector;
  auto server = connector.CreateInstance();
  StreamEvents events(*server);
  events.WaitFor(Server::kEndStream, server->Speak(QStringLiteral("Warm up."), 1), 10s);

  std::vector<double> ours;
  for (int round = 0; round < kRounds; ++round) {
    ASSERT_TRUE(monitor.WaitForSilence(100ms, 5s));
    monitor.Clear();
    const auto asked = TestClock::now();
    const int stream = server->Speak(QStringLiteral("<pitch middle=\"0\">Hello."), 1);
    const auto sound = monitor.WaitForSound(3s);
    ASSERT_TRUE(sound) << "round " << round << " was silent";
    ours.push_back(Ms(*sound - asked));
    events.WaitFor(Server::kEndStream, stream, 10s);
  }

  std::vector<double> spd_say;
  for (int round = 0; round < kRounds; ++round) {
    ASSERT_TRUE(monitor.WaitForSilence(100ms, 5s));
    monitor.Clear();
    QProcess process;
    const auto asked = TestClock::now();
    process.start(QStringLiteral("spd-say"), {QStringLiteral("Hello.")});
    const auto sound = monitor.WaitForSound(3s);
    ASSERT_TRUE(sound) << "spd-say round " << round << " was silent";
    spd_say.push_back(Ms(*sound - asked));
    process.waitForFinished(5000);
  }

  const double our_median = Median(ours), spd_say_median = Median(spd_say);
  std::printf(
      "Speak to first audible sample: median %.1f ms (min %.1f, max %.1f); spd-say %.1f ms "
      "(min %.1f, max %.1f), %d rounds each\n",
      our_median, *std::min_element(ours.begin(), ours.end()),
      *std::max_element(ours.begin(), ours.end()), spd_say_median,
      *std::min_element(spd_say.begin(), spd_say.end()),
      *std::max_element(spd_say.begin(), spd_say.end()), kRounds);
  RecordProperty("speak_to_sound_median_ms", std::to_string(our_median));
  RecordProperty("spd_say_to_sound_median_ms", std::to_string(spd_say_median));
  EXPECT_LT(our_median, 150);
}

}  // namespace
}  // namespace voxmere
