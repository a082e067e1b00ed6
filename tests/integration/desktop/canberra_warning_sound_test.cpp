// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/canberra_warning_sound.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <chrono>

#include "support/event_sound_watcher.h"
#include "support/wait_until.h"

namespace voxmere {
namespace {

using namespace std::chrono_literals;

struct CountingBell : Beeper {
  void Beep() override { ++rings; }
  int rings = 0;
};

// Sets an environment variable for one case (unset when `value` is null).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name), old_(qgetenv(name)) {
    had_ = qEnvironmentVariableIsSet(name);
    if (value != nullptr) {
      qputenv(name, value);
    } else {
      qunsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      qputenv(name_, old_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  QByteArray old_;
  bool had_ = false;
};

// Without an audio server the bell rings; once the server answers, the next
// beep connects afresh and plays the sound theme's warning instead. (A sound
// missing from the theme rings the bell too, but libcanberra remembers where
// it found a sound for the rest of the process, so that case is for a fresh
// process.)
TEST(CanberraWarningSoundTest, RingsTheBellUntilTheAudioServerAnswers) {
  EventSoundWatcher warnings("dialog-warning");
  // libcanberra's ALSA driver would find a sound card on a developer's
  // machine; the test audio server is PulseAudio's.
  const ScopedEnv driver("CANBERRA_DRIVER", "pulse");
  CountingBell bell;
  CanberraWarningSound sound(bell, "Voxmere! tests", "voxmere-tests");
  {
    const ScopedEnv no_server("PULSE_SERVER", "unix:/nonexistent/native");
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
