// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/welcome_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <memory>

#include "app_fixture.h"
#include "fakes/fake_welcome_window_shell.h"
#include "platform/exception.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kZira = 3;

// The options window made as at start-up, then the welcome window on a fake
// shell whose script plays the user while the window shows. Unless a test
// says otherwise, the user presses "Continue".
class WelcomeWindowTest : public ::testing::Test {
 protected:
  OptionsWindow& Initialize() {
    fixture_.window = fixture_.Build();
    fixture_.window->Initialize();
    welcome_ = std::make_unique<WelcomeWindow>(
        *fixture_.window, [this](WelcomeWindow& welcome) -> std::unique_ptr<WelcomeWindowShell> {
          ++shells_made_;
          return std::make_unique<FakeWelcomeWindowShell>(
              welcome, [this](WelcomeWindow& shown, FakeWelcomeWindowShell& shell) {
                if (while_shown_) while_shown_(shown);
                if (shell.Visible()) shown.CloseRequested();
              });
        });
    return *fixture_.window;
  }
  // Every text handed to a SAPI 4 engine, without the line end and the zero.
  QStringList Sapi4Texts() const {
    QStringList texts;
    for (const auto& engine : fixture_.sapi4.Engines())
      for (const auto& call : engine->TextDataCalls())
        texts << QString::fromUtf8(call.data.chopped(3));
    return texts;
  }
  std::vector<std::string> Sapi5Speaks() const {
    std::vector<std::string> calls;
    for (const std::string& call : fixture_.sapi5.Log()->Calls())
      if (call.starts_with("Speak(")) calls.push_back(call);
    return calls;
  }

  ~WelcomeWindowTest() override { welcome_.reset(); }

  AppFixture fixture_;
  std::unique_ptr<WelcomeWindow> welcome_;
  std::function<void(WelcomeWindow&)> while_shown_;
  int shells_made_ = 0;
};

TEST_F(WelcomeWindowTest, ShowsOnlyUntilRecordedThenOpensTheGeneralPage) {
  struct Case {
    const char* cfg;  // nullptr: no cfg.ini
    QStringList extra_arguments;
    bool welcomed;
  };
  const Case cases[] = {
      {nullptr, {}, true},
      // Shown after -autostart and on a later run as well, until recorded.
      {nullptr, {"-autostart"}, true},
      {"[General]\nFirstRun=0\n", {}, true},
      {"[General]\nFirstRun=0\nWelcomeDlg=1\n", {}, false},
      {"[General]\nWelcomeDlg=1\n", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString::fromLatin1(c.cfg ? c.cfg : "(no file)").toStdString());
    AppFixture& f = fixture_;
    if (c.cfg != nullptr) {
      f.WriteCfg(QString::fromLatin1(c.cfg));
    } else {
      QFile::remove(f.CfgPath());
    }
    f.paths.arguments = QStringList{f.paths.program_path} << c.extra_arguments;
    f.shell = FakeOptionsWindowShell();
    shells_made_ = 0;
    OptionsWindow& window = Initialize();
    // The user opens the About page from the tray meanwhile.
    while_shown_ = [&window](WelcomeWindow&) { window.tray_menu.about.Click(); };
    f.shell.calls.clear();
    f.shell.SetVisible(false);

    EXPECT_EQ(welcome_->Create(), c.welcomed);
    EXPECT_EQ(shells_made_, c.welcomed ? 1 : 0);
    EXPECT_FALSE(welcome_->Visible());
    EXPECT_TRUE(f.Cfg().ReadBool(kWelcomeDlg));
    if (c.welcomed) {
      EXPECT_TRUE(f.shell.Visible());
      EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);
    } else {
      EXPECT_THAT(f.shell.calls, IsEmpty());
    }
    welcome_.reset();
    f.window.reset();
  }
}

TEST_F(WelcomeWindowTest, ReadsItsParagraphWithTheDefaultVoiceAndNothingCaptured) {
  OptionsWindow& window = Initialize();
  // The default voice as the page stands: SAPI 4 Mary, the first entry.
  ASSERT_TRUE(welcome_->Create());
  EXPECT_THAT(Sapi4Texts(), ElementsAre(WelcomeWindow::Paragraph()));

  // A SAPI 5 default voice: its pitch markup in front, as a hot key reading.
  window.default_voice.voices_list.UserSelect(kZira);
  window.default_voice.pitch_bar.SetPosition(4);
  fixture_.sapi5.Log()->Clear();
  welcome_->Shown();
  EXPECT_THAT(Sapi5Speaks(), ElementsAre("Speak(<pitch middle=\"4\">" +
                                         WelcomeWindow::Paragraph().toStdString() + ",1)"));
  EXPECT_THAT(fixture_.capture_log, IsEmpty());
  EXPECT_EQ(fixture_.messages.Beeps(), 0);
  EXPECT_TRUE(WelcomeWindow::Paragraph().startsWith(
      "Voxmere can read the selected text from any application. Just select"));
}

TEST_F(WelcomeWindowTest, AFailedReadingBeepsAndTheWindowStays) {
  OptionsWindow& window = Initialize();
  window.default_voice.voices_list.UserSelect(kZira);
  fixture_.sapi5.Log()->FailOn("Speak", "engine gone", 0, 1);
  bool open_after_beep = false;
  while_shown_ = [&](WelcomeWindow& welcome) { open_after_beep = welcome.Visible(); };

  ASSERT_TRUE(welcome_->Create());
  EXPECT_TRUE(open_after_beep);
  EXPECT_EQ(fixture_.messages.Beeps(), 1);
  EXPECT_THAT(fixture_.messages.Boxes(), IsEmpty());
}

TEST_F(WelcomeWindowTest, ClosingStopsTheReadingAndLeavesTheTrayIdle) {
  OptionsWindow& window = Initialize();
  window.default_voice.voices_list.UserSelect(kZira);
  while_shown_ = [&](WelcomeWindow&) {
    // The engine has started and the animation shows a reading frame.
    fixture_.sapi5.Instance()->StartStream(1);
    window.tray_icon.SetPicture(TrayPicture::kReadingFrame1);
    ASSERT_TRUE(window.tray_menu.stop_reading.Enabled());
    ASSERT_TRUE(window.Reading().AnimationTimer().isActive());
    fixture_.sapi5.Log()->Clear();
  };

  ASSERT_TRUE(welcome_->Create());
  // Purged at once, without waiting for the engine's end event.
  EXPECT_EQ(fixture_.sapi5.Log()->Calls().front(), "Speak(,2)");
  EXPECT_FALSE(window.tray_menu.stop_reading.Enabled());
  EXPECT_FALSE(window.Reading().AnimationTimer().isActive());
  EXPECT_EQ(window.tray_icon.Picture(), TrayPicture::kIdleIcon);
}

TEST_F(WelcomeWindowTest, ExitClosesTheVisibleWindowFirst) {
  OptionsWindow& window = Initialize();
  bool closed_before_quit = false;
  while_shown_ = [&](WelcomeWindow& welcome) {
    fixture_.shell.calls.clear();
    window.tray_menu.exit.Click();
    closed_before_quit = !welcome.Visible() && fixture_.shell.quits == 1;
  };
  ASSERT_TRUE(welcome_->Create());
  EXPECT_TRUE(closed_before_quit);
  EXPECT_TRUE(window.Flags().exit_requested);
}

TEST_F(WelcomeWindowTest, AFailedRecordEscapesTheCreationAndShowsNothing) {
  Initialize();
  // cfg.ini cannot be written any more while the window shows.
  while_shown_ = [this](WelcomeWindow&) {
    QFile::remove(fixture_.CfgPath());
    QDir().mkdir(fixture_.CfgPath());
  };
  fixture_.shell.calls.clear();
  EXPECT_THROW(welcome_->Create(), Exception);
  EXPECT_EQ(fixture_.shell.CountOf("ShowInFront"), 0);
  EXPECT_FALSE(welcome_->Visible());
}

}  // namespace
}  // namespace voxmere
