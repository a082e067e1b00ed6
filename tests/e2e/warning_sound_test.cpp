// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <cstdio>

#include "e2e_scenario.h"
#include "support/event_sound_watcher.h"

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

class WarningSoundTest : public ScenarioTest {
 protected:
  // The sound theme's warning sound, told from speech by its event.
  EventSoundWatcher warnings_{"dialog-warning"};
};

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
    std::printf("warning sound %lld ms after the press, %lld ms long\n",
                static_cast<long long>(delay.count()), static_cast<long long>(length.count()));
    EXPECT_LT(delay, 300ms);
    EXPECT_LT(length, 3s) << "not a short sound";
    EXPECT_EQ(warnings_.Count(), press) << "the sound was not the theme's warning";
  }
}

TEST_F(WarningSoundTest, SuccessfulReadingSoundsNoWarning) {
  ASSERT_NE(StartProgram(), nullptr);
  ASSERT_FALSE(SelectInXterm("Hello there").isEmpty());

  ASSERT_TRUE(PressAndListen("ctrl+BackSpace", 20s))
      << "nothing was spoken; " << Output().toStdString();
  ASSERT_TRUE(WaitForQuiet(30s));
  EXPECT_EQ(warnings_.Count(), 0) << Output().toStdString();
}

}  // namespace
}  // namespace voxmere::e2e
