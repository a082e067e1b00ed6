// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>

#include "app_fixture.h"
#include "platform/exception.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;

constexpr unsigned kCtrl = HotKeyRegistrar::kModControl;

TEST(OptionsWindowStartupTest, FirstRunShowsTheWindowAndMarksTheRunDone) {
  AppFixture fixture;
  OptionsWindow& window = fixture.Start();

  // Both engines are usable and listed, SAPI 4 first.
  EXPECT_TRUE(window.Flags().sapi4_available);
  EXPECT_TRUE(window.Flags().sapi5_available);
  EXPECT_EQ(window.default_voice.voices_list.Items(),
            QStringList({"Mary", "Mike", "Microsoft Anna (SAPI5)", "Zira (SAPI5)"}));

  // No cfg.ini: a first run, shown on the General page.
  EXPECT_EQ(window.StartState(), OptionsWindow::WindowState::kNormal);
  EXPECT_TRUE(fixture.shell.Visible());
  EXPECT_EQ(fixture.shell.calls, QStringList({"ShowInFront"}));
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);
  EXPECT_TRUE(window.tray_icon.IconVisible());
  EXPECT_TRUE(window.about.LinksBold());
  EXPECT_FALSE(window.EndRequested());
  EXPECT_TRUE(fixture.messages.Boxes().empty());
  EXPECT_TRUE(fixture.links.opened.isEmpty());

  // The load wrote FirstRun 0 and the start-up entry for this program.
  EXPECT_FALSE(fixture.Cfg().ReadBool(kFirstRun));
  EXPECT_TRUE(fixture.startup.Exists());
  EXPECT_EQ(fixture.startup.ProgramPath(), "/opt/voxmere/voxmere");
  EXPECT_TRUE(window.general.load_at_startup.Checked());

  // The three main hot keys work: Ctrl+Backspace, Ctrl+F11, Ctrl+F12.
  EXPECT_TRUE(fixture.hot_keys.IsRegistered(kCtrl, 0x08));
  EXPECT_TRUE(fixture.hot_keys.IsRegistered(kCtrl, 0x7A));
  EXPECT_TRUE(fixture.hot_keys.IsRegistered(kCtrl, 0x7B));
}

TEST(OptionsWindowStartupTest, OnlyAFirstRunWithoutTheExactSwitchShowsTheWindow) {
  struct Case {
    const char* cfg;  // nullptr: no cfg.ini
    QStringList extra_arguments;
    bool shown;
  };
  const Case cases[] = {
      {"[General]\nFirstRun=0\n", {}, false},
      {"[General]\nFirstRun=0\n", {"-autostart"}, false},
      {"[General]\nFirstRun=1\nWelcomeDlg=1\n", {"-autostart"}, false},
      {"[General]\nFirstRun=1\nWelcomeDlg=1\n", {}, true},
      // Only the whole switch, written exactly so, counts.
      {"[General]\nFirstRun=1\nWelcomeDlg=1\n", {"-AUTOSTART"}, true},
      {nullptr, {"--autostart", "-autostart2", " -autostart"}, true},
      {nullptr, {"-x", "-autostart"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(
        QStringLiteral("%1 %2")
            .arg(QString::fromLatin1(c.cfg ? c.cfg : "(no file)"), c.extra_arguments.join(' '))
            .toStdString());
    AppFixture fixture;
    if (c.cfg != nullptr) fixture.WriteCfg(QString::fromLatin1(c.cfg));
    fixture.paths.arguments << c.extra_arguments;
    OptionsWindow& window = fixture.Start();

    EXPECT_EQ(fixture.shell.Visible(), c.shown);
    EXPECT_EQ(window.StartState(), c.shown ? OptionsWindow::WindowState::kNormal
                                           : OptionsWindow::WindowState::kMinimized);
    // Hidden starts go straight into the tray; the icon is there either way.
    EXPECT_EQ(fixture.shell.CountOf("ShowInFront"), c.shown ? 1 : 0);
    EXPECT_EQ(fixture.shell.CountOf("Hide"), c.shown ? 0 : 1);
    EXPECT_TRUE(window.tray_icon.IconVisible());
    EXPECT_TRUE(fixture.hot_keys.IsRegistered(kCtrl, 0x08));
    EXPECT_FALSE(fixture.Cfg().ReadBool(kFirstRun));
  }
}

TEST(OptionsWindowStartupTest, TheProgramPathItselfCanBeTheSwitch) {
  AppFixture fixture;
  fixture.paths.arguments = QStringList{"-autostart"};
  OptionsWindow& window = fixture.Start();
  EXPECT_EQ(window.StartState(), OptionsWindow::WindowState::kMinimized);
  EXPECT_FALSE(fixture.shell.Visible());
}

TEST(OptionsWindowStartupTest, OneEngineIsEnough) {
  {
    // No SAPI 5 voice: start-up completes with the SAPI 4 voices only.
    AppFixture fixture;
    fixture.sapi5.Instance()->SetVoices({});
    OptionsWindow& window = fixture.Start();
    EXPECT_TRUE(window.Flags().sapi4_available);
    EXPECT_FALSE(window.Flags().sapi5_available);
    EXPECT_EQ(window.default_voice.voices_list.Items(), QStringList({"Mary", "Mike"}));
    EXPECT_TRUE(fixture.shell.Visible());
    EXPECT_TRUE(window.tray_icon.IconVisible());
    EXPECT_TRUE(fixture.messages.Boxes().empty());
    EXPECT_FALSE(window.EndRequested());
  }
  {
    // A SAPI 5 probe that fails counts as no SAPI 5, without a message.
    AppFixture fixture;
    fixture.sapi5.Log()->FailOn("CreateInstance", "Class not registered");
    OptionsWindow& window = fixture.Start();
    EXPECT_FALSE(window.Flags().sapi5_available);
    EXPECT_EQ(window.default_voice.voices_list.Count(), 2);
    EXPECT_TRUE(fixture.messages.Boxes().empty());
    EXPECT_TRUE(window.tray_icon.IconVisible());
  }
  {
    // No SAPI 4 engine: the SAPI 5 voices alone.
    AppFixture fixture;
    fixture.sapi4.Modes().clear();
    OptionsWindow& window = fixture.Start();
    EXPECT_FALSE(window.Flags().sapi4_available);
    EXPECT_TRUE(window.Flags().sapi5_available);
    EXPECT_EQ(window.default_voice.voices_list.Items(),
              QStringList({"Microsoft Anna (SAPI5)", "Zira (SAPI5)"}));
    EXPECT_TRUE(fixture.messages.Boxes().empty());
    EXPECT_TRUE(fixture.shell.Visible());
  }
}

TEST(OptionsWindowStartupTest, WithoutEnginesTheProgramSaysWhyOnceOpensTheHelpAndEnds) {
  AppFixture fixture;
  fixture.sapi4.Modes().clear();
  fixture.sapi5.Instance()->SetVoices({});
  fixture.window = fixture.Build();
  OptionsWindow& window = *fixture.window;

  // One message, no failed settings load after it: the caller ends the
  // program.
  EXPECT_NO_THROW(window.Initialize());
  EXPECT_TRUE(window.EndRequested());
  EXPECT_FALSE(window.Flags().sapi4_available);
  EXPECT_FALSE(window.Flags().sapi5_available);

  ASSERT_EQ(fixture.messages.Boxes().size(), 1u);
  const FakeMessageBoxes::Shown& box = fixture.messages.Boxes()[0];
  EXPECT_EQ(box.kind, MessageBoxes::Kind::kError);
  EXPECT_EQ(box.buttons, MessageBoxes::Buttons::kOk);
  EXPECT_EQ(box.text, QString::fromLatin1(
                          "Sorry, but there are no speech engines installed in your system.\x0a\x0d"
                          "espeak-ng: no voice it can play (is an audio server running?); "
                          "speech-dispatcher: it has no voices\x0a\x0d"
                          "Please, install some speech engine and run Voxmere! again.\x0a\x0d"
                          "Web page with speech engines list will be opened now."));
  // No engines page was built in: the help's topic on installing them,
  // left open until the user closes it.
  EXPECT_TRUE(fixture.links.opened.isEmpty());
  EXPECT_THAT(fixture.help.topics, ElementsAre(HelpTopic::kInstallingEngines));
  EXPECT_EQ(fixture.help.waits, 1);

  // Nothing is left behind: no tray icon, no hot key, no window.
  EXPECT_FALSE(window.tray_icon.IconVisible());
  window.ShowAtStart();  // the caller does not get this far, but it is harmless
  EXPECT_FALSE(fixture.shell.Visible());
  fixture.window.reset();
  EXPECT_TRUE(fixture.hot_keys.Registered().empty());
  EXPECT_TRUE(fixture.trace.events.contains("BeforeCloseActions"));
}

TEST(OptionsWindowStartupTest, TheIconAndTheHotKeysWaitForTheVoiceListOnlyWithoutEspeak) {
  // speech-dispatcher still listing its voices at start: with espeak-ng there
  // the icon shows during the wait, with the slots read and every hot key
  // grabbed, and the voices and settings come after it; without espeak-ng
  // nothing shows before the probe, which may end in the no-engines message.
  for (const bool espeak : {true, false}) {
    SCOPED_TRACE(espeak ? "with espeak-ng" : "without espeak-ng");
    AppFixture fixture;
    // Ctrl+A reads; Ctrl+1 is the slot's key.
    fixture.WriteCfg(QStringLiteral("[General]\nFirstRun=0\nHotKey=16449\n"));
    QFile slots_file(fixture.folder.filePath(QStringLiteral("slots.ini")));
    ASSERT_TRUE(slots_file.open(QIODevice::WriteOnly));
    slots_file.write("[Slot_0]\r\nVoice=Mary\r\nHotKey=16433\r\nSAPIVersion=4\r\n");
    slots_file.close();
    if (!espeak) fixture.sapi4.Modes().clear();
    fixture.sapi5.voices_ready = false;
    QStringList during_wait;
    fixture.pump.during_wait = [&fixture, &during_wait] {
      const OptionsWindow& window = *fixture.window;
      if (window.tray_icon.IconVisible() && !window.tray_icon.Answering()) during_wait << "icon";
      if (fixture.hot_keys.IsRegistered(kCtrl, 0x41)) during_wait << "reading key";
      if (fixture.hot_keys.IsRegistered(kCtrl, 0x31)) during_wait << "slot key";
      if (!window.default_voice.voices_list.Items().isEmpty()) during_wait << "voices";
      fixture.sapi5.voices_ready = true;
    };
    OptionsWindow& window = fixture.Start();

    EXPECT_EQ(during_wait,
              espeak ? QStringList({"icon", "reading key", "slot key"}) : QStringList());
    EXPECT_TRUE(window.tray_icon.IconVisible());
    EXPECT_TRUE(window.tray_icon.Answering());
    EXPECT_TRUE(window.Flags().sapi5_available);
    EXPECT_EQ(window.default_voice.voices_list.Items().size(), espeak ? 4 : 2);
    EXPECT_EQ(window.Slots().Slots().size(), 1U);
    EXPECT_TRUE(fixture.hot_keys.IsRegistered(kCtrl, 0x41));
    EXPECT_TRUE(fixture.hot_keys.IsRegistered(kCtrl, 0x31));
  }
}

TEST(OptionsWindowStartupTest, ShowingTheWindowAgainReloadsTheSettings) {
  AppFixture fixture;
  fixture.WriteCfg(QStringLiteral("[General]\nFirstRun=0\nHotKey=32813\n"));
  OptionsWindow& window = fixture.Start();
  EXPECT_EQ(window.general.reading_key_field.Shortcut(), 32813);  // Alt+Ins
  EXPECT_FALSE(window.Flags().first_load);

  // A hand edit while the window is hidden shows at the next showing.
  fixture.WriteCfg(QStringLiteral("[General]\nFirstRun=0\nHotKey=16457\n"));
  window.WindowShown();
  EXPECT_EQ(window.general.reading_key_field.Shortcut(), 16457);  // Ctrl+I
  // The load happens only when the window was hidden.
  fixture.WriteCfg(QStringLiteral("[General]\nFirstRun=0\nHotKey=32813\n"));
  window.OptionsEntryClicked();
  EXPECT_EQ(window.general.reading_key_field.Shortcut(), 32813);
  fixture.WriteCfg(QStringLiteral("[General]\nFirstRun=0\nHotKey=16457\n"));
  window.OptionsEntryClicked();
  EXPECT_EQ(window.general.reading_key_field.Shortcut(), 32813);
}

TEST(OptionsWindowStartupTest, OnlyAWaylandSessionNamesTheCommandsUnderTheHotKeys) {
  for (const bool wayland : {false, true}) {
    SCOPED_TRACE(wayland);
    AppFixture fixture;
    fixture.paths.wayland_session = wayland;
    const QString note = fixture.Start().general.SessionNote();
    EXPECT_EQ(note.contains("X11"), wayland);
    EXPECT_EQ(note.contains("voxmere --read"), wayland);
  }
}

}  // namespace
}  // namespace voxmere
