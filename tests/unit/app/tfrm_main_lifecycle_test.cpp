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
constexpr TShortCut kCtrlShiftR = 0x4000 | 0x2000 | 0x52;

const char kCloseMessage[] =
    "Voxmere will now be minimized into the system tray. To restore this window double click on "
    "program's icon in system tray.";

// A program that has run before: starts hidden in the tray.
class TfrmMainLifecycleTest : public ::testing::Test {
 protected:
  TfrmMain& StartHidden(const QString& general_keys = QString()) {
    fixture_.WriteCfg(QStringLiteral("[General]\nFirstRun=0\n") + general_keys);
    TfrmMain& frm = fixture_.Start();
    fixture_.shell.calls.clear();
    fixture_.trace.events.clear();
    return frm;
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
  void MakeSavesFail(TfrmMain& frm) { frm.DefaultVoice.VoicesList.SetItemIndex(-1); }

  AppFixture fixture_;
};

TEST_F(TfrmMainLifecycleTest, ShowTriggersSelectTheirPages) {
  TfrmMain& frm = StartHidden();
  EXPECT_FALSE(fixture_.shell.Visible());

  frm.TrayMenu.Configurevoiceslots1.Click();
  EXPECT_TRUE(fixture_.shell.Visible());
  EXPECT_EQ(frm.Pages.ActivePageIndex(), TfrmMain::kVoiceSlots);
  frm.TrayMenu.About1.Click();
  EXPECT_EQ(frm.Pages.ActivePageIndex(), TfrmMain::kAbout);
  frm.TrayMenu.Options1.Click();
  EXPECT_EQ(frm.Pages.ActivePageIndex(), TfrmMain::kGeneral);
  EXPECT_EQ(fixture_.shell.CountOf("ShowInFront"), 3);

  // A double click while the Pronunciation page shows ends on General.
  frm.Pages.SetActivePageIndex(TfrmMain::kPronunciation);
  frm.TrayIconDblClick();
  EXPECT_EQ(frm.Pages.ActivePageIndex(), TfrmMain::kGeneral);
  // ... and from the tray too.
  frm.BitBtn2Click();
  frm.Pages.SetActivePageIndex(TfrmMain::kPronunciation);
  frm.TrayIconDblClick();
  EXPECT_TRUE(fixture_.shell.Visible());
  EXPECT_EQ(frm.Pages.ActivePageIndex(), TfrmMain::kGeneral);

  // Every page switch marks the voice list.
  frm.Pages.SetActivePageIndex(TfrmMain::kDefaultVoice);
  EXPECT_EQ(frm.DefaultVoice.VoicesListTag(), DefaultVoicePage::kPageSwitchMarker);

  frm.TrayMenu.Website1.Click();
  EXPECT_EQ(fixture_.links.opened, QStringList({QString::fromLatin1(kMakerWebSite)}));
}

TEST_F(TfrmMainLifecycleTest, OptionsHotKeyOnAVisibleWindowKeepsTheEdits) {
  TfrmMain& frm = StartHidden();
  frm.Options1Click();
  frm.Pages.SetActivePageIndex(TfrmMain::kPronunciation);
  frm.General.Stop_HotKey.SetShortcut(kCtrlShiftR);
  frm.General.MinimizeToTray_CheckBox.SetChecked(false);

  // Ctrl+F11 while the window shows: only the page changes.
  ASSERT_TRUE(fixture_.hot_keys.Press(kCtrl, 0x7A));
  EXPECT_EQ(frm.Pages.ActivePageIndex(), TfrmMain::kGeneral);
  EXPECT_EQ(frm.General.Stop_HotKey.Shortcut(), kCtrlShiftR);
  EXPECT_FALSE(frm.General.MinimizeToTray_CheckBox.Checked());
  EXPECT_EQ(fixture_.shell.CountOf("ShowInFront"), 2);
}

TEST_F(TfrmMainLifecycleTest, CancelForgetsAChangedHotKeyAndOkKeepsIt) {
  TfrmMain& frm = StartHidden();
  frm.Options1Click();
  frm.General.Reading_HotKey.SetShortcut(kCtrlShiftR);
  frm.BitBtn2Click();
  EXPECT_FALSE(fixture_.shell.Visible());
  EXPECT_EQ(fixture_.shell.CountOf("Hide"), 1);
  EXPECT_FALSE(fixture_.Cfg().TryReadInteger(kHotKey).has_value());

  // The next showing shows the stored key; the changed one never went to
  // the system and the stored one still works.
  frm.Options1Click();
  EXPECT_EQ(frm.General.Reading_HotKey.Shortcut(), 16392);
  EXPECT_FALSE(EverRegistered(kCtrl | kShift, 0x52));
  EXPECT_TRUE(fixture_.hot_keys.IsRegistered(kCtrl, 0x08));

  // OK saves, registers the new key in place of the old one and hides.
  frm.General.Reading_HotKey.SetShortcut(kCtrlShiftR);
  frm.BitBtn1Click();
  EXPECT_FALSE(fixture_.shell.Visible());
  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kHotKey), kCtrlShiftR);
  EXPECT_TRUE(fixture_.hot_keys.IsRegistered(kCtrl | kShift, 0x52));
  EXPECT_FALSE(fixture_.hot_keys.IsRegistered(kCtrl, 0x08));
  EXPECT_TRUE(frm.TrayIcon.IconVisible());

  // A failed save: the window stays open and the hot keys stay as they were.
  frm.Options1Click();
  frm.General.Reading_HotKey.SetShortcut(32813);  // Alt+Ins
  MakeSavesFail(frm);
  frm.BitBtn1Click();
  EXPECT_TRUE(fixture_.shell.Visible());
  EXPECT_FALSE(fixture_.hot_keys.IsRegistered(kAlt, 0x2D));
  EXPECT_TRUE(fixture_.hot_keys.IsRegistered(kCtrl | kShift, 0x52));
  EXPECT_TRUE(fixture_.messages.Boxes().empty());
}

TEST_F(TfrmMainLifecycleTest, CloseBoxSavesAndGoesToTheTrayWithTheMessageOnceEver) {
  TfrmMain& frm = StartHidden();
  frm.Options1Click();
  frm.General.Stop_HotKey.SetShortcut(kCtrlShiftR);
  frm.CloseRequest();

  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kStopHotKey), kCtrlShiftR);
  EXPECT_FALSE(fixture_.shell.Visible());
  EXPECT_EQ(fixture_.shell.quits, 0);
  EXPECT_EQ(CloseMessagesShown(), 1);
  EXPECT_TRUE(fixture_.Cfg().ReadBool(kCloseMsg));
  EXPECT_EQ(fixture_.trace.events, QStringList({"FormCloseQuery"}));

  frm.Options1Click();
  frm.CloseRequest();
  EXPECT_EQ(CloseMessagesShown(), 1);
  EXPECT_FALSE(fixture_.shell.Visible());
  EXPECT_EQ(fixture_.shell.quits, 0);

  // A failed save keeps the window as it is.
  frm.Options1Click();
  MakeSavesFail(frm);
  EXPECT_FALSE(frm.FormCloseQuery());
  EXPECT_TRUE(fixture_.shell.Visible());
}

TEST_F(TfrmMainLifecycleTest, CloseMessageAlreadyShownInAnEarlierRunStaysAway) {
  TfrmMain& frm = StartHidden(QStringLiteral("CloseMsg=1\n"));
  frm.Options1Click();
  EXPECT_FALSE(frm.FormCloseQuery());
  EXPECT_EQ(CloseMessagesShown(), 0);
  EXPECT_FALSE(fixture_.shell.Visible());
}

TEST_F(TfrmMainLifecycleTest, CloseWithoutTheTrayOptionSavesAndEnds) {
  TfrmMain& frm = StartHidden();
  frm.Options1Click();
  frm.General.MinimizeToTray_CheckBox.SetChecked(false);
  frm.CloseRequest();
  EXPECT_EQ(fixture_.shell.quits, 1);
  EXPECT_FALSE(fixture_.Cfg().ReadBool(kMinimizeToTray));
  EXPECT_EQ(CloseMessagesShown(), 0);
  EXPECT_FALSE(fixture_.Cfg().ReadBool(kCloseMsg));
}

TEST_F(TfrmMainLifecycleTest, ExitSavesAndEndsEvenWithTheTrayOption) {
  TfrmMain& frm = StartHidden();
  // A failed save keeps the program running.
  MakeSavesFail(frm);
  frm.TrayMenu.Exit1.Click();
  EXPECT_TRUE(frm.Flags().ExitRequested);
  EXPECT_EQ(fixture_.shell.quits, 0);

  frm.DefaultVoice.VoicesList.SetItemIndex(0);
  frm.General.Options_HotKey.SetShortcut(kCtrlShiftR);
  frm.TrayMenu.Exit1.Click();
  EXPECT_TRUE(frm.General.MinimizeToTray_CheckBox.Checked());
  EXPECT_EQ(fixture_.shell.quits, 1);
  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kOptHotKey), kCtrlShiftR);
  EXPECT_EQ(CloseMessagesShown(), 0);
  // Exit stopped both engines first.
  EXPECT_EQ(fixture_.sapi5.Log()->CountOf("Speak"), 2);
}

TEST_F(TfrmMainLifecycleTest, ExitIsDisabledWhileReadingAndStopEnablesIt) {
  TfrmMain& frm = StartHidden();
  EXPECT_TRUE(frm.TrayMenu.Exit1.Enabled());
  fixture_.sapi5.Instance()->StartStream(1);
  EXPECT_FALSE(frm.TrayMenu.Exit1.Enabled());
  EXPECT_TRUE(frm.TrayMenu.Stopreading1.Enabled());
  frm.TrayMenu.Stopreading1.Click();
  EXPECT_TRUE(frm.TrayMenu.Exit1.Enabled());
  frm.TrayMenu.Exit1.Click();
  EXPECT_EQ(fixture_.shell.quits, 1);
}

TEST_F(TfrmMainLifecycleTest, SessionEndSavesCleansUpAndLetsTheSessionEnd) {
  QFile slots_file(fixture_.folder.filePath("slots.ini"));
  ASSERT_TRUE(slots_file.open(QIODevice::WriteOnly));
  slots_file.write(
      "[Slot_0]\r\nVoice=Mary\r\nHotKey=49217\r\nSpeed=150\r\nPitch=100\r\n"
      "Volume=100\r\nSAPIVersion=4\r\n");
  slots_file.close();
  TfrmMain& frm = StartHidden();
  ASSERT_TRUE(fixture_.hot_keys.IsRegistered(kCtrl | kAlt, 0x41));
  frm.General.Stop_HotKey.SetShortcut(kCtrlShiftR);

  // The tray option is on and the close message was never shown.
  EXPECT_TRUE(fixture_.session_end.QueryEnd());
  EXPECT_EQ(fixture_.trace.events,
            QStringList({"WMQueryEndSession", "FormCloseQuery", "BeforeCloseActions"}));
  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kStopHotKey), kCtrlShiftR);
  EXPECT_EQ(CloseMessagesShown(), 1);
  EXPECT_EQ(fixture_.session_end.InteractionRequests(), 1);
  EXPECT_EQ(fixture_.session_end.StrayInteractionRequests(), 0);
  EXPECT_FALSE(frm.TrayIcon.IconVisible());
  EXPECT_FALSE(frm.TrayIcon.MinimizeToTray());
  EXPECT_TRUE(fixture_.hot_keys.Registered().empty());
  EXPECT_EQ(frm.Slots().SlotHotKeyCount(), 0);
  EXPECT_EQ(fixture_.sapi5.Instance()->AdvisedCount(), 0);
  EXPECT_TRUE(frm.Flags().SessionEnding);

  // From now on a close is granted at once, without saving.
  fixture_.trace.events.clear();
  frm.General.Stop_HotKey.SetShortcut(32813);
  frm.CloseRequest();
  EXPECT_EQ(fixture_.shell.quits, 1);
  EXPECT_EQ(fixture_.trace.events, QStringList({"FormCloseQuery"}));
  EXPECT_EQ(fixture_.Cfg().ReadHotKey(kStopHotKey), kCtrlShiftR);
}

TEST_F(TfrmMainLifecycleTest, SessionEndWithoutLeaveToInteractShowsNothing) {
  TfrmMain& frm = StartHidden();
  fixture_.session_end.SetInteractionGranted(false);
  EXPECT_TRUE(fixture_.session_end.QueryEnd());
  EXPECT_TRUE(fixture_.messages.Boxes().empty());
  // Not shown, so still to be shown at a later close.
  EXPECT_FALSE(fixture_.Cfg().ReadBool(kCloseMsg));
  EXPECT_TRUE(fixture_.hot_keys.Registered().empty());
  EXPECT_TRUE(frm.Flags().SessionEnding);
}

TEST_F(TfrmMainLifecycleTest, UncaughtErrorsShowTheirBareTextAndTheProgramRunsOn) {
  TfrmMain& frm = StartHidden();
  frm.Guard([] { throw Exception(QStringLiteral("Catastrophic failure")); });
  frm.Guard([] { throw std::runtime_error("bad thing"); });
  ASSERT_EQ(fixture_.messages.Boxes().size(), 2u);
  EXPECT_EQ(fixture_.messages.Boxes()[0].kind, MessageBoxes::Kind::kPlain);
  EXPECT_EQ(fixture_.messages.Boxes()[0].text, "Catastrophic failure");
  EXPECT_EQ(fixture_.messages.Boxes()[1].text, "bad thing");

  // A stop that fails inside Exit: the text is shown, the program runs on.
  fixture_.messages.Clear();
  fixture_.sapi5.Log()->FailOn("Speak", "The voice object died");
  frm.TrayMenu.Exit1.Click();
  ASSERT_EQ(fixture_.messages.Boxes().size(), 1u);
  EXPECT_EQ(fixture_.messages.Boxes()[0].text, "The voice object died");
  EXPECT_EQ(fixture_.shell.quits, 0);
  EXPECT_TRUE(frm.TrayIcon.IconVisible());
}

TEST_F(TfrmMainLifecycleTest, CleanUpTwiceIsHarmlessAndAFailureEndsSilently) {
  TfrmMain& frm = StartHidden();
  frm.BeforeCloseActions();
  const auto calls_after_first = fixture_.hot_keys.Calls().size();
  EXPECT_TRUE(fixture_.hot_keys.Registered().empty());
  frm.BeforeCloseActions();
  EXPECT_EQ(fixture_.hot_keys.Calls().size(), calls_after_first);
  EXPECT_EQ(fixture_.trace.events, QStringList({"BeforeCloseActions", "BeforeCloseActions"}));
  EXPECT_FALSE(frm.EndRequested());
  // After the clean-up a minimize no longer hides into the tray.
  frm.ApplicationMinimize();
  EXPECT_EQ(fixture_.shell.CountOf("Minimize"), 1);
  EXPECT_FALSE(frm.TrayIcon.IconVisible());

  AppFixture failing;
  failing.WriteCfg(QStringLiteral("[General]\nFirstRun=0\n"));
  TfrmMain& other = failing.Start();
  failing.sapi5.Log()->FailOn("Unadvise", "RPC server unavailable");
  other.BeforeCloseActions();
  EXPECT_TRUE(other.EndRequested());
  EXPECT_EQ(failing.shell.quits, 1);
  EXPECT_TRUE(failing.messages.Boxes().empty());
  EXPECT_FALSE(other.TrayIcon.IconVisible());
}

}  // namespace
}  // namespace voxmere
