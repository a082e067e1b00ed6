// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <cstdio>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

using ReadingTest = ScenarioTest;

// About twenty seconds of speech: still going long after the stop key.
const QString kLongLine =
    "This long line is read aloud by the program until the stop key is pressed, and it goes on "
    "for a good while longer so that the stop has something to cut short in the middle of it";

TEST_F(ReadingTest, ReadingHotKeySpeaksTheSelectionAndLeavesTheClipboardAsItWas) {
  ASSERT_NE(StartProgram(), nullptr);
  ClipboardOwner before("clipboard text from before the reading");
  ASSERT_TRUE(before.Owns());
  ASSERT_FALSE(SelectInXterm("Hello there").isEmpty());

  const std::optional<Clock::time_point> start = PressAndListen("ctrl+BackSpace", 20s);
  ASSERT_TRUE(start) << "nothing was spoken; " << Output().toStdString();
  const std::optional<Clock::time_point> end = WaitForQuiet(30s);
  ASSERT_TRUE(end);
  // Two words: a short reading (the text read is the selection, not some
  // other text).
  const auto spoken = duration_cast<milliseconds>(*end - *start);
  std::printf("two words spoken in %lld ms\n", static_cast<long long>(spoken.count()));
  EXPECT_GT(spoken, 200ms);
  EXPECT_LT(spoken, 4000ms);

  // The copy went through the clipboard, which holds its old text again.
  EXPECT_EQ(ClipboardText(), QByteArray("clipboard text from before the reading"));

  // Again, with the clipboard now owned by the program itself.
  ASSERT_TRUE(PressAndListen("ctrl+BackSpace", 20s)) << Output().toStdString();
  ASSERT_TRUE(WaitForQuiet(30s));
  EXPECT_EQ(ClipboardText(), QByteArray("clipboard text from before the reading"));
}

TEST_F(ReadingTest, TheSameSelectionReadsTwiceFromAnEmptyClipboard) {
  ASSERT_NE(StartProgram(), nullptr);
  ASSERT_FALSE(ClipboardText().has_value()) << "the clipboard is not empty to begin with";
  ASSERT_FALSE(SelectInXterm("Read me twice").isEmpty());

  ASSERT_TRUE(PressAndListen("ctrl+BackSpace", 20s)) << Output().toStdString();
  ASSERT_TRUE(WaitForQuiet(30s));
  EXPECT_FALSE(ClipboardText().has_value()) << "the empty clipboard got a text";
  // The user presses the key again over the same selection: the clipboard
  // left empty must not keep xterm from copying it once more.
  EXPECT_TRUE(PressAndListen("ctrl+BackSpace", 20s)) << "the second reading was silent";
  EXPECT_TRUE(WaitForQuiet(30s));
}

TEST_F(ReadingTest, StopHotKeySilencesTheReadingAtOnce) {
  ASSERT_NE(StartProgram(), nullptr);
  ClipboardOwner before("clipboard text from before the reading");
  ASSERT_FALSE(SelectInXterm(kLongLine).isEmpty());

  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(PressAndListen("ctrl+BackSpace", 20s)) << Output().toStdString();
    // Well into the reading, and it is still speaking.
    Pause(1500);
    ASSERT_TRUE(monitor_->WaitForSound(500ms)) << "the reading had already ended";

    const Clock::time_point pressed = Clock::now();
    ASSERT_TRUE(PressKeys("ctrl+F12"));
    const std::optional<Clock::time_point> end = WaitForQuiet(15s);
    ASSERT_TRUE(end) << "the reading went on after the stop key";
    const auto after = duration_cast<milliseconds>(*end - pressed);
    std::printf("stop key to silence: %lld ms\n", static_cast<long long>(after.count()));
    EXPECT_LT(after, 200ms);
    // The second round shows that a stopped engine reads again.
  }
}

}  // namespace
}  // namespace voxmere::e2e
