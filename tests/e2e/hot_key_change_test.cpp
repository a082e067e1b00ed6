// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;

// A first start whose stored placement puts the focus into the reading hot
// key field.
const QByteArray kFocusOnReadingField =
    kWelcomed + "[Options_window]\r\nActiveControl=Reading_HotKey\r\n";

class HotKeyChangeTest : public ScenarioTest {
 protected:
  // Starts the program on a first run, with the options window up, types
  // Ctrl+F9 into the reading hot key field and leaves the focus there.
  // Returns the options window, or nullopt (with a test failure).
  std::optional<WindowInfo> TypeNewReadingKey() {
    if (StartProgram(kFocusOnReadingField) == nullptr) return std::nullopt;
    std::optional<WindowInfo> window = copy_.WaitForOptionsWindow(*program_);
    if (!window) {
      ADD_FAILURE() << "no options window; " << Output().toStdString();
      return std::nullopt;
    }
    cfg_ = copy_.SettingsFile("cfg.ini");
    // Alt+R, the field label's mnemonic, leads there as well.
    if (!Focus(window->id) || !PressKeys("alt+r") || !PressKeys("ctrl+F9")) {
      ADD_FAILURE() << "could not type into the options window";
      return std::nullopt;
    }
    return window;
  }

  // Presses OK from the reading hot key field. Tab leaves a hot key field
  // unchanged (Shift, pressed alone, would become its hot key); four of
  // them pass the options and stop fields and the direct-reading check box
  // and reach the OK button, which Space presses (Alt+O is shared with the
  // options field's label).
  bool PressOk() {
    return PressKeys("Tab") && PressKeys("Tab") && PressKeys("Tab") && PressKeys("Tab") &&
           PressKeys("space");
  }

  // Whether the options window goes; when it stays, a picture of it is
  // kept for the failure message.
  bool OptionsWindowHidden() {
    std::optional<WindowInfo> window;
    if (WaitFor([&] {
          return !(window = VisibleWindowNamed(program_->processId(), "Voxmere! Options"));
        })) {
      return true;
    }
    ADD_FAILURE()
        << "the options window stays; picture: "
        << SaveArtifact(GrabScreen(window->geometry), "options-window-stays.png").toStdString();
    return false;
  }

  // Whether the keys read the selection aloud (and the reading then ends).
  bool Reads(const QString& keys) {
    const bool spoke = PressAndListen(keys, 15s).has_value();
    if (spoke) {
      EXPECT_TRUE(WaitForQuiet(30s));
    }
    return spoke;
  }
  // Whether the keys stay silent (for as long as a reading takes to start).
  bool Silent(const QString& keys) {
    monitor_->Clear();
    return PressKeys(keys) && !monitor_->WaitForSound(3s).has_value();
  }

  QString cfg_;
};

TEST_F(HotKeyChangeTest, CancelKeepsTheStoredReadingHotKey) {
  ASSERT_TRUE(TypeNewReadingKey());
  const QByteArray stored = FileContent(cfg_);
  ASSERT_TRUE(PressKeys("Escape"));
  ASSERT_TRUE(OptionsWindowHidden()) << "Esc did not cancel";
  EXPECT_EQ(FileContent(cfg_), stored) << "Cancel wrote the settings";

  ASSERT_FALSE(SelectInXterm("Cancelled change").isEmpty());
  EXPECT_TRUE(Silent("ctrl+F9")) << "the cancelled key reads";
  EXPECT_TRUE(Reads("ctrl+BackSpace")) << "the stored key no longer reads";

  // Shown again, the window holds the stored key: OK now stores that one.
  ASSERT_TRUE(PressKeys("ctrl+F11"));
  const std::optional<WindowInfo> window = copy_.WaitForOptionsWindow(*program_);
  ASSERT_TRUE(window);
  // The focus is back in the reading field, where it was left.
  ASSERT_TRUE(Focus(window->id));
  ASSERT_TRUE(PressOk());
  ASSERT_TRUE(OptionsWindowHidden()) << "OK did not close the window";
  EXPECT_TRUE(WaitFor([&] { return IniValue(cfg_, "General", "HotKey") == "16392"; }))
      << FileContent(cfg_).toStdString();
}

TEST_F(HotKeyChangeTest, OkAppliesANewReadingHotKeyAtOnce) {
  ASSERT_TRUE(TypeNewReadingKey());
  ASSERT_TRUE(PressOk());
  ASSERT_TRUE(OptionsWindowHidden()) << "OK did not close the window";
  // Ctrl+F9 is 0x4000 (Ctrl) + 0x78 (F9).
  EXPECT_TRUE(WaitFor([&] { return IniValue(cfg_, "General", "HotKey") == "16504"; }))
      << FileContent(cfg_).toStdString();
  EXPECT_EQ(IniValue(cfg_, "General", "OptHotKey"), "16506");
  EXPECT_EQ(IniValue(cfg_, "General", "StopHotKey"), "16507");

  ASSERT_FALSE(SelectInXterm("Changed hot key").isEmpty());
  EXPECT_TRUE(Silent("ctrl+BackSpace")) << "the old key still reads";
  EXPECT_TRUE(Reads("ctrl+F9")) << "the new key does not read";
  EXPECT_EQ(program_->state(), QProcess::Running);
}

}  // namespace
}  // namespace voxmere::e2e
