// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <cstdio>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// A slot on Ctrl+Alt+1 whose voice is not installed: its reading fails
// before anything is captured.
const QByteArray kSlotOfMissingVoice =
    "[Slot_0]\r\nVoice=No Such Voice\r\nHotKey=49201\r\nSpeed=100\r\nPitch=50\r\n"
    "Volume=100\r\nSAPIVersion=4\r\n";

using WarningSoundTest = ScenarioTest;

TEST_F(WarningSoundTest, FailedReadingSoundsTheWarningAtOnce) {
  copy_.WriteSettingsFile("slots.ini", kSlotOfMissingVoice);
  ASSERT_NE(StartProgram(), nullptr);

  // The second press shows the sound is not a one-off of the first beep.
  for (int press = 1; press <= 2; ++press) {
    SCOPED_TRACE(press);
    const Clock::time_point pressed = Clock::now();
    const std::optional<Clock::time_point> start = PressAndListen("ctrl+alt+1", 3s);
    ASSERT_TRUE(start) << "no warning sound; " << Output().toStdString();
    const std::optional<Clock::time_point> end = WaitForQuiet(10s);
    ASSERT_TRUE(end);
    const auto delay = duration_cast<milliseconds>(*start - pressed);
    const auto length = duration_cast<milliseconds>(*end - *start);
    std::printf("warning sound %lld ms after the press, %lld ms long, pitch %.0f Hz\n",
                static_cast<long long>(delay.count()), static_cast<long long>(length.count()),
                monitor_->EstimatePitchHz(*start, *end));
    EXPECT_LT(delay, 300ms);
    EXPECT_LT(length, 3s) << "not a short sound";
  }
}

}  // namespace
}  // namespace voxmere::e2e
