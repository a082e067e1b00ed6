// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <stdexcept>

#include "app_fixture.h"
#include "platform/exception.h"

namespace voxmere {
namespace {

constexpr unsigned kAlt = HotKeyRegistrar::kModAlt;
constexpr unsigned kCtrl = HotKeyRegistrar::kModControl;
constexpr unsigned kShift = HotKeyRegistrar::kModShift;
constexpr ShortCut kCtrlShiftR = 0x4000 | 0x2000 | 0x52;

const char kCloseMessage[] =
    "Voxmere will now be minimized into the system tray. To restore this window double click on "
    "program's icon in system tray.";

// A program that has run before: starts hidden in the tray.
class OptionsWindowLifecycleTest : public ::testing::Test {
 protected:
  OptionsWindow& StartHidden(const QString& general_keys = QString()) {
    fixture_.WriteCfg(QStringLiteral("[General]\nFirstRun=0\n") + general_keys);
    OptionsWindow& window = fixture_.Start();
    fixture_.shell.calls.clear();
    fixture_.trace.events.clear();
    return window;
  }
  int CloseMessagesShown() const {
    int shown = 0;
    for (const auto& box : fixture_.messages.Boxes()) {
      if (box.kind == MessageBoxes::Kind::kInformation && box.text == kCloseMessage) ++shown;
    }
    return shown;
  }
  bool EverRegistered(unsigned modifiers, unsigned virtual_key) const {
    for (const auto& call : fixture_.hot_keys.Calls()) {
      if (call.kind == FakeHotKeyRegistrar::Call::Kind::kRegister && call.modifiers == modifiers &&
          call.virtual_key == virtual_key) {
        return true;
      }
    }
    return false;
  }
  // Saving stops silently when no voice is selected.
  void MakeSavesFail(OptionsWindow& window) { window.default_voice.voices_list.SetItemIndex(-1); }

  AppFixture fixture_;
};

TEST_F(OptionsWindowLifecycleTest, ShowTriggersSelectTheirPages) {
  OptionsWindow& window = StartHidden();
  EXPECT_FALSE(fixture_.shell.Visible());

  window.tray_menu.configure_slots.Click();
  EXPECT_TRUE(fixture_.shell.Visible());
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kVoiceSlots);
  window.tray_menu.about.Click();
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kAbout);
  window.tray_menu.options.Click();
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);
  EXPECT_EQ(fixture_.shell.CountOf("ShowInFront"), 3);

  // A double click while the Pronunciation page shows ends on General.
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  window.TrayIconDoubleClicked();
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);
  // ... and from the tray too.
  window.CancelClicked();
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  window.TrayIconDoubleClicked();
  EXPECT_TRUE(fixture_.shell.Visible());
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);

  // Every page switch marks the voice list.
  window.pages.SetActivePageIndex(OptionsWindow::kDefaultVoice);
  EXPECT_EQ(window.default_voice.VoicesListTag(), DefaultVoicePage::kPageSwitchMarker);
}

TEST_F(OptionsWindowLifecycleTest, OptionsHotKeyOnAVisibleWindowKeepsTheEdits) {
  OptionsWindow& window = StartHidden();
  window.OptionsEntryClicked();
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  window.general.stop_key_field.SetShortcut(kCtrlShiftR);
  window.general.minimize_to_tray.SetChecked(false);

  // Ctrl+F11 while the window shows: only the page changes.
  ASSERT_TRUE(fixture_.hot_keys.Press(kCtrl, 0x7A));
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);
  EXPECT_EQ(window.general.stop_key_field.Shortcut(), kCtrlShiftR);
  EXPECT_FALSE(window.general.minimize_to_tray.Checked());
  EXPECT_EQ(fixture_.shell.CountOf("ShowInFront"), 2);
}

TEST_F(OptionsWindowLifecycleTest, CancelForgetsAChangedHotKeyAndOkKeepsIt) {
  OptionsWindow& window = StartHidden();
  window.OptionsEntryClicked();
  window.general.reading_key_field.SetShortcut(kCtrlShiftR);
  window.CancelClicked();
  EXPECT_FALSE(fixture_.shell.Visible());
  EXPECT_EQ(fixture_.shell.CountOf("Hide"), 1);
  EXPECT_FALSE(fixture_.Cfg().TryReadInteger(kHotKey).has_value());

  // The next showing shows the stored key; the changed one never went to
  // the system and the stored one still works.
  window.OptionsEntryClicked();
  EXPECT_EQ(window.general.reading_key_field.Shortcut(), 16392);
  EXPECT_FALSE(EverRegistered(kCtrl | kShift, 0x52));
  EXPECT_TRUE(fixture_.hot_keys.IsRegistered(kCtrl, 0x08));

  // OK saves, registers the new key in place of the old one and hides.
  window.general.reading_key_field.SetShortcut(kCtrlShiftR);
  window.AcceptClicked();
  EXPECT_FALSE(fixture_.shell.Visible());
  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kHotKey), kCtrlShiftR);
  EXPECT_TRUE(fixture_.hot_keys.IsRegistered(kCtrl | kShift, 0x52));
  EXPECT_FALSE(fixture_.hot_keys.IsRegistered(kCtrl, 0x08));
  EXPECT_TRUE(window.tray_icon.IconVisible());

  // A failed save: the window stays open and the hot keys stay as they were.
  window.OptionsEntryClicked();
  window.general.reading_key_field.SetShortcut(32813);  // Alt+Ins
  MakeSavesFail(window);
  window.AcceptClicked();
  EXPECT_TRUE(fixture_.shell.Visible());
  EXPECT_FALSE(fixture_.hot_keys.IsRegistered(kAlt, 0x2D));
  EXPECT_TRUE(fixture_.hot_keys.IsRegistered(kCtrl | kShift, 0x52));
  EXPECT_TRUE(fixture_.messages.Boxes().empty());
}

TEST_F(OptionsWindowLifecycleTest, CancelAfterAPageSwitchReloadsTheStoredVoiceOnItsScale) {
  OptionsWindow& window = StartHidden(
      QStringLiteral("[Speech]\nVoice=Mike\nSAPIVersion=4\nSpeed=200\nPitch=90\nVolume=80\n"));
  DefaultVoicePage& page = window.default_voice;
  window.OptionsEntryClicked();
  window.pages.SetActivePageIndex(OptionsWindow::kDefaultVoice);
  page.VoiceListClicked();
  page.voices_list.UserSelect(3);  // "Zira (SAPI5)"
  ASSERT_EQ(page.ScaleMode(), PageScaleMode::kSapi5);
  window.pages.SetActivePageIndex(OptionsWindow::kGeneral);
  window.CancelClicked();

  // The next showing puts the stored voice back with its own scale and
  // numbers, not the SAPI 5 bars' limits (330 / 330).
  window.OptionsEntryClicked();
  EXPECT_EQ(page.voices_list.ItemIndex(), 1);
  EXPECT_EQ(page.ScaleMode(), PageScaleMode::kSapi4);
  EXPECT_EQ(page.speed_bar.Min(), 80);
  EXPECT_EQ(page.speed_box.Text(), QStringLiteral("200"));
  EXPECT_EQ(page.pitch_box.Text(), QStringLiteral("90"));
  EXPECT_EQ(page.volume_box.Text(), QStringLiteral("80"));
  window.AcceptClicked();
  EXPECT_EQ(fixture_.Cfg().ReadInteger(kSpeed, 0), 200);
  EXPECT_EQ(fixture_.Cfg().ReadInteger(kPitch, 0), 90);
  EXPECT_EQ(fixture_.Cfg().ReadInteger(kSAPIVersion), 4);
}

TEST_F(OptionsWindowLifecycleTest, CloseBoxSavesAndGoesToTheTrayWithTheMessageOnceEver) {
  OptionsWindow& window = StartHidden();
  window.OptionsEntryClicked();
  window.general.stop_key_field.SetShortcut(kCtrlShiftR);
  window.CloseRequest();

  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kStopHotKey), kCtrlShiftR);
  EXPECT_FALSE(fixture_.shell.Visible());
  EXPECT_EQ(fixture_.shell.quits, 0);
  EXPECT_EQ(CloseMessagesShown(), 1);
  EXPECT_TRUE(fixture_.Cfg().ReadBool(kCloseMsg));
  EXPECT_EQ(fixture_.trace.events, QStringList({"FormCloseQuery"}));

  window.OptionsEntryClicked();
  window.CloseRequest();
  EXPECT_EQ(CloseMessagesShown(), 1);
  EXPECT_FALSE(fixture_.shell.Visible());
  EXPECT_EQ(fixture_.shell.quits, 0);

  // A failed save keeps the window as it is.
  window.OptionsEntryClicked();
  MakeSavesFail(window);
  EXPECT_FALSE(window.MayClose());
  EXPECT_TRUE(fixture_.shell.Visible());
}

// A StatusNotifierItem host reports no double clicks: a single click does the
// double click's work, and the close message names the click it takes.
TEST_F(OptionsWindowLifecycleTest, SingleClickRestoresOnlyWhereTheTrayHasNoDoubleClick) {
  OptionsWindow& window = StartHidden();
  window.TrayIconClicked();
  EXPECT_FALSE(fixture_.shell.Visible());

  window.tray_icon.SetProtocol(TrayProtocol::kStatusNotifierItem);
  window.TrayIconClicked();
  EXPECT_TRUE(fixture_.shell.Visible());
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  window.TrayIconClicked();
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);

  window.CloseRequest();
  EXPECT_FALSE(fixture_.shell.Visible());
  ASSERT_EQ(fixture_.messages.Boxes().size(), 1u);
  EXPECT_EQ(fixture_.messages.Boxes().front().text,
            QStringLiteral("Voxmere will now be minimized into the system tray. To restore this "
                           "window click on program's icon in system tray."));
}

TEST_F(OptionsWindowLifecycleTest, CloseMessageAlreadyShownInAnEarlierRunStaysAway) {
  OptionsWindow& window = StartHidden(QStringLiteral("CloseMsg=1\n"));
  window.OptionsEntryClicked();
  EXPECT_FALSE(window.MayClose());
  EXPECT_EQ(CloseMessagesShown(), 0);
  EXPECT_FALSE(fixture_.shell.Visible());
}

TEST_F(OptionsWindowLifecycleTest, CloseWithoutTheTrayOptionSavesAndEnds) {
  OptionsWindow& window = StartHidden();
  window.OptionsEntryClicked();
  window.general.minimize_to_tray.SetChecked(false);
  window.CloseRequest();
  EXPECT_EQ(fixture_.shell.quits, 1);
  EXPECT_FALSE(fixture_.Cfg().ReadBool(kMinimizeToTray));
  EXPECT_EQ(CloseMessagesShown(), 0);
  EXPECT_FALSE(fixture_.Cfg().ReadBool(kCloseMsg));
}

TEST_F(OptionsWindowLifecycleTest, ExitSavesAndEndsEvenWithTheTrayOption) {
  OptionsWindow& window = StartHidden();
  // A failed save keeps the program running.
  MakeSavesFail(window);
  window.tray_menu.exit.Click();
  EXPECT_TRUE(window.Flags().exit_requested);
  EXPECT_EQ(fixture_.shell.quits, 0);

  window.default_voice.voices_list.SetItemIndex(0);
  window.general.options_key_field.SetShortcut(kCtrlShiftR);
  window.tray_menu.exit.Click();
  EXPECT_TRUE(window.general.minimize_to_tray.Checked());
  EXPECT_EQ(fixture_.shell.quits, 1);
  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kOptHotKey), kCtrlShiftR);
  EXPECT_EQ(CloseMessagesShown(), 0);
  // Exit stopped both engines first.
  EXPECT_EQ(fixture_.sapi5.Log()->CountOf("Speak"), 2);
}

TEST_F(OptionsWindowLifecycleTest, ExitIsDisabledWhileReadingAndStopEnablesIt) {
  OptionsWindow& window = StartHidden();
  EXPECT_TRUE(window.tray_menu.exit.Enabled());
  fixture_.sapi5.Instance()->StartStream(1);
  EXPECT_FALSE(window.tray_menu.exit.Enabled());
  EXPECT_TRUE(window.tray_menu.stop_reading.Enabled());
  window.tray_menu.stop_reading.Click();
  EXPECT_TRUE(window.tray_menu.exit.Enabled());
  window.tray_menu.exit.Click();
  EXPECT_EQ(fixture_.shell.quits, 1);
}

TEST_F(OptionsWindowLifecycleTest, SessionEndSavesCleansUpAndLetsTheSessionEnd) {
  QFile slots_file(fixture_.folder.filePath("slots.ini"));
  ASSERT_TRUE(slots_file.open(QIODevice::WriteOnly));
  slots_file.write(
      "[Slot_0]\r\nVoice=Mary\r\nHotKey=49217\r\nSpeed=150\r\nPitch=100\r\n"
      "Volume=100\r\nSAPIVersion=4\r\n");
  slots_file.close();
  OptionsWindow& window = StartHidden();
  ASSERT_TRUE(fixture_.hot_keys.IsRegistered(kCtrl | kAlt, 0x41));
  window.general.stop_key_field.SetShortcut(kCtrlShiftR);

  // The tray option is on and the close message was never shown.
  EXPECT_TRUE(fixture_.session_end.QueryEnd());
  EXPECT_EQ(fixture_.trace.events,
            QStringList({"WMQueryEndSession", "FormCloseQuery", "BeforeCloseActions"}));
  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kStopHotKey), kCtrlShiftR);
  EXPECT_EQ(CloseMessagesShown(), 1);
  EXPECT_EQ(fixture_.session_end.InteractionRequests(), 1);
  EXPECT_EQ(fixture_.session_end.StrayInteractionRequests(), 0);
  EXPECT_FALSE(window.tray_icon.IconVisible());
  EXPECT_FALSE(window.tray_icon.MinimizeToTray());
  EXPECT_TRUE(fixture_.hot_keys.Registered().empty());
  EXPECT_EQ(window.Slots().SlotHotKeyCount(), 0);
  EXPECT_EQ(fixture_.sapi5.Instance()->AdvisedCount(), 0);
  EXPECT_TRUE(window.Flags().session_ending);

  // From now on a close is granted at once, without saving.
  fixture_.trace.events.clear();
  window.general.stop_key_field.SetShortcut(32813);
  window.CloseRequest();
  EXPECT_EQ(fixture_.shell.quits, 1);
  EXPECT_EQ(fixture_.trace.events, QStringList({"FormCloseQuery"}));
  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kStopHotKey), kCtrlShiftR);
}

TEST_F(OptionsWindowLifecycleTest, SessionEndWithoutLeaveToInteractShowsNothing) {
  OptionsWindow& window = StartHidden();
  fixture_.session_end.SetInteractionGranted(false);
  EXPECT_TRUE(fixture_.session_end.QueryEnd());
  EXPECT_TRUE(fixture_.messages.Boxes().empty());
  // Not shown, so still to be shown at a later close.
  EXPECT_FALSE(fixture_.Cfg().ReadBool(kCloseMsg));
  EXPECT_TRUE(fixture_.hot_keys.Registered().empty());
  EXPECT_TRUE(window.Flags().session_ending);
}

TEST_F(OptionsWindowLifecycleTest, UncaughtErrorsShowTheirBareTextAndTheProgramRunsOn) {
  OptionsWindow& window = StartHidden();
  window.Guard([] { throw Exception(QStringLiteral("Catastrophic failure")); });
  window.Guard([] { throw std::runtime_error("bad thing"); });
  ASSERT_EQ(fixture_.messages.Boxes().size(), 2u);
  EXPECT_EQ(fixture_.messages.Boxes()[0].kind, MessageBoxes::Kind::kPlain);
  EXPECT_EQ(fixture_.messages.Boxes()[0].text, "Catastrophic failure");
  EXPECT_EQ(fixture_.messages.Boxes()[1].text, "bad thing");

  // A stop that fails inside Exit: the text is shown, the program runs on.
  fixture_.messages.Clear();
  fixture_.sapi5.Log()->FailOn("Speak", "The voice object died");
  window.tray_menu.exit.Click();
  ASSERT_EQ(fixture_.messages.Boxes().size(), 1u);
  EXPECT_EQ(fixture_.messages.Boxes()[0].text, "The voice object died");
  EXPECT_EQ(fixture_.shell.quits, 0);
  EXPECT_TRUE(window.tray_icon.IconVisible());
}

TEST_F(OptionsWindowLifecycleTest, CleanUpTwiceIsHarmlessAndAFailureEndsSilently) {
  OptionsWindow& window = StartHidden();
  window.CleanUp();
  const auto calls_after_first = fixture_.hot_keys.Calls().size();
  EXPECT_TRUE(fixture_.hot_keys.Registered().empty());
  window.CleanUp();
  EXPECT_EQ(fixture_.hot_keys.Calls().size(), calls_after_first);
  EXPECT_EQ(fixture_.trace.events, QStringList({"BeforeCloseActions", "BeforeCloseActions"}));
  EXPECT_EQ(fixture_.help.close_all_calls, 2);
  EXPECT_FALSE(window.EndRequested());
  // After the clean-up a minimize no longer hides into the tray.
  window.MinimizeApplication();
  EXPECT_EQ(fixture_.shell.CountOf("Minimize"), 1);
  EXPECT_FALSE(window.tray_icon.IconVisible());

  AppFixture failing;
  failing.WriteCfg(QStringLiteral("[General]\nFirstRun=0\n"));
  OptionsWindow& other = failing.Start();
  failing.sapi5.Log()->FailOn("Unadvise", "RPC server unavailable");
  other.CleanUp();
  EXPECT_TRUE(other.EndRequested());
  EXPECT_EQ(failing.shell.quits, 1);
  EXPECT_TRUE(failing.messages.Boxes().empty());
  EXPECT_FALSE(other.tray_icon.IconVisible());
}

}  // namespace
}  // namespace voxmere
