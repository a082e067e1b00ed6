// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/canberra_warning_sound.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/event_sound_watcher.h"
#include "support/wait_until.h"
#include "unit/desktop/scoped_environment.h"

namespace voxmere {
namespace {

using namespace std::chrono_literals;

struct CountingBell : Beeper {
  void Beep() override { ++rings; }
  int rings = 0;
};

// Without an audio server the bell rings; once the server answers, the next
// beep connects afresh and plays the sound theme's warning instead. (A sound
// missing from the theme rings the bell too; not tested here, because
// libcanberra remembers where it found a sound for the rest of the process.)
TEST(CanberraWarningSoundTest, RingsTheBellUntilTheAudioServerAnswers) {
  EventSoundWatcher warnings("dialog-warning");
  // libcanberra's ALSA driver would find a sound card on a developer's
  // machine; the test audio server is PulseAudio's.
  ScopedEnvironment environment;
  environment.Set("CANBERRA_DRIVER", "pulse");
  CountingBell bell;
  CanberraWarningSound sound(bell, "Voxmere! tests", "voxmere-tests");
  {
    ScopedEnvironment no_server;
    no_server.Set("PULSE_SERVER", "unix:/nonexistent/native");
    sound.Beep();
    ASSERT_TRUE(test_support::WaitUntil([&] { return bell.rings > 0; }, 5s)) << "no bell";
  }
  sound.Beep();
  EXPECT_TRUE(test_support::WaitUntil([&] { return warnings.Count() > 0; }, 5s))
      << "no warning sound once the server answered";
  // Whatever else would come, comes by now.
  test_support::PumpEventsFor(300ms);
  EXPECT_EQ(bell.rings, 1);
  EXPECT_EQ(warnings.Count(), 1);
}

}  // namespace
}  // namespace voxmere
