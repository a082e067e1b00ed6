// SPDX-License-Identifier: GPL-3.0-or-later
#include <QImage>
#include <chrono>
#include <cstdio>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

using WelcomeTest = ScenarioTest;

const QString kWelcomeTitle = QStringLiteral("Welcome to Voxmere!");

TEST_F(WelcomeTest, FirstStartGreetsAloudEscSilencesItAndTheNextStartDoesNot) {
  QProcess* program = StartProgram(QByteArray());
  ASSERT_NE(program, nullptr);
  std::optional<WindowInfo> welcome;
  ASSERT_TRUE(WaitFor([&] {
    welcome = VisibleWindowNamed(program->processId(), kWelcomeTitle);
    return welcome.has_value();
  })) << "no welcome window on a first start; "
      << Output().toStdString();
  EXPECT_EQ(welcome->geometry.size(), QSize(328, 187));
  // The options window waits until the welcome is dismissed.
  EXPECT_FALSE(VisibleWindowNamed(program->processId(), "Voxmere! Options"));
  SaveArtifact(GrabScreen(welcome->geometry), "welcome-window.png");

  // The paragraph is read aloud, and it takes a while.
  ASSERT_TRUE(monitor_->WaitForSound(20s))
      << "the welcome was not heard; " << Output().toStdString();
  Pause(1500);
  ASSERT_TRUE(monitor_->WaitForSound(500ms)) << "the reading had already ended";

  // Esc in the middle of it: silence at once, the window gone.
  ASSERT_TRUE(Focus(welcome->id));
  const Clock::time_point pressed = Clock::now();
  ASSERT_TRUE(PressKeys("Escape"));
  const std::optional<Clock::time_point> end = WaitForQuiet(15s);
  ASSERT_TRUE(end) << "the reading went on after Esc";
  const auto after = duration_cast<milliseconds>(*end - pressed);
  std::printf("Esc to silence: %lld ms\n", static_cast<long long>(after.count()));
  EXPECT_LT(after, 200ms);
  EXPECT_TRUE(WaitFor([&] { return !VisibleWindowNamed(program->processId(), kWelcomeTitle); }));

  // The welcome is recorded and the options window follows.
  const QString cfg = copy_.SettingsFile("cfg.ini");
  EXPECT_TRUE(WaitFor([&] { return IniValue(cfg, "General", "WelcomeDlg") == "1"; }))
      << FileContent(cfg).toStdString();
  const std::optional<WindowInfo> options = copy_.WaitForOptionsWindow(*program);
  ASSERT_TRUE(options) << "no options window after the welcome; " << Output().toStdString();
  SaveArtifact(GrabScreen(options->geometry), "options-after-welcome.png");

  // The tray icon stands still on one picture: the animation is over.
  QImage after_welcome;
  EXPECT_TRUE(TrayPictureSettles(program->processId(), after_welcome))
      << "the tray icon is still animated";
  ProgramCopy::Kill(*program);

  // The next start (cfg.ini as the first left it) shows no welcome, stays
  // in the tray and is silent; its icon shows the idle picture, as the
  // first one's did after the welcome.
  monitor_->Clear();
  program = StartProgram(QByteArray());
  ASSERT_NE(program, nullptr);
  QImage idle;
  ASSERT_TRUE(TrayPictureSettles(program->processId(), idle));
  EXPECT_FALSE(VisibleWindowNamed(program->processId(), kWelcomeTitle));
  EXPECT_FALSE(VisibleWindowNamed(program->processId(), "Voxmere! Options"));
  EXPECT_FALSE(monitor_->WaitForSound(100ms)) << "the second start spoke";
  EXPECT_EQ(after_welcome, idle)
      << "the tray icon after the welcome is not the idle picture ("
      << SaveArtifact(after_welcome, "tray-after-welcome.png").toStdString() << ", "
      << SaveArtifact(idle, "tray-idle.png").toStdString() << ")";
}

}  // namespace
}  // namespace voxmere::e2e
