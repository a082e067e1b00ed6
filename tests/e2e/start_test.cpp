// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGuiApplication>
#include <QScreen>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using StartTest = ScenarioTest;

// The "Exec=" line of a desktop entry, without the key.
QString ExecLine(const QByteArray& entry) {
  for (const QByteArray& line : entry.split('\n')) {
    if (line.startsWith("Exec=")) return QString::fromUtf8(line.mid(5)).trimmed();
  }
  return {};
}

TEST_F(StartTest, FirstStartShowsTheOptionsWindowAndASecondStartOnlyTellsSo) {
  QProcess* first = StartProgram(kWelcomed);
  ASSERT_NE(first, nullptr);
  const std::optional<WindowInfo> window = copy_.WaitForOptionsWindow(*first);
  ASSERT_TRUE(window) << "no options window on a first start; " << Output().toStdString();
  // Nothing stored a position yet: the window stands in the middle of the
  // screen.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_LE((window->geometry.center() - screen.center()).manhattanLength(), 40)
      << "window at " << window->geometry.x() << "," << window->geometry.y();

  // The first settings load marked the first run as done and made the
  // start-up entry, which starts this very copy hidden.
  const QString cfg = copy_.SettingsFile("cfg.ini");
  EXPECT_TRUE(WaitFor([&] { return IniValue(cfg, "General", "FirstRun") == "0"; }))
      << FileContent(cfg).toStdString();
  EXPECT_EQ(ExecLine(FileContent(copy_.AutostartFile())), copy_.Path() + " -autostart")
      << FileContent(copy_.AutostartFile()).toStdString();

  // A second start shows its message box and ends with success, touching
  // nothing; the first runs on with its window.
  const QByteArray cfg_before = FileContent(cfg);
  QProcess& second = copy_.Start();
  std::optional<WindowInfo> box;
  ASSERT_TRUE(WaitFor([&] {
    for (const WindowInfo& candidate : WindowsOf(second.processId())) {
      if (candidate.viewable && candidate.top_level) box = candidate;
    }
    return box.has_value() || second.state() == QProcess::NotRunning;
  }));
  ASSERT_TRUE(box) << "the second start showed no box; " << copy_.Output(second).toStdString();
  EXPECT_NE(box->name, "Voxmere! Options");
  // For people to see; its text cannot be read from outside.
  SaveArtifact(GrabScreen(box->geometry), "second-start-box.png");
  EXPECT_EQ(second.state(), QProcess::Running) << "ended before the box was answered";
  ASSERT_TRUE(Focus(box->id));
  ASSERT_TRUE(PressKeys("Return"));
  ASSERT_TRUE(WaitFor([&] { return second.state() == QProcess::NotRunning; }))
      << "the box did not end the second start";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0) << copy_.Output(second).toStdString();
  EXPECT_EQ(first->state(), QProcess::Running);
  EXPECT_TRUE(VisibleWindowNamed(first->processId(), "Voxmere! Options"));
  EXPECT_TRUE(TrayIconOf(first->processId()));
  EXPECT_EQ(FileContent(cfg), cfg_before);
}

TEST_F(StartTest, LaterStartsStayInTheTrayUntilTheOptionsHotKey) {
  // The first start leaves its first run behind.
  QProcess* first = StartProgram(kWelcomed);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(copy_.WaitForOptionsWindow(*first)) << Output().toStdString();
  ASSERT_TRUE(WaitFor(
      [&] { return IniValue(copy_.SettingsFile("cfg.ini"), "General", "FirstRun") == "0"; }));
  ProgramCopy::Kill(*first);

  for (const QStringList& arguments : {QStringList{}, QStringList{"-autostart"}}) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    QProcess& program = copy_.Start(arguments);
    program_ = &program;
    ASSERT_TRUE(copy_.WaitForTrayIcon(program)) << Output().toStdString();
    // The window would have been shown as the event loop started, before
    // the tray host took the icon in; give it a moment more all the same.
    Pause(1500);
    EXPECT_FALSE(VisibleWindowNamed(program.processId(), "Voxmere! Options"));

    // The options hot key brings it up.
    ASSERT_TRUE(PressKeys("ctrl+F11"));
    EXPECT_TRUE(copy_.WaitForOptionsWindow(program)) << Output().toStdString();
    ProgramCopy::Kill(program);
  }
}

TEST_F(StartTest, WithNothingToSpeakOneMessageThenTheHelpThenTheEnd) {
  copy_.WriteSettingsFile("cfg.ini", kWelcomed);
  // No audio server for espeak-ng, no speech-dispatcher to reach or spawn.
  QProcessEnvironment silent;
  silent.insert("PULSE_SERVER", "unix:/nonexistent/pulse");
  silent.insert("SPEECHD_ADDRESS", "unix_socket:/nonexistent/speechd.sock");
  silent.insert("SPEECHD_CMD", "/bin/false");
  QProcess& program = copy_.Start({}, silent);
  const auto top_level = [&] {
    std::vector<WindowInfo> shown;
    for (const WindowInfo& window : WindowsOf(program.processId())) {
      if (window.viewable && window.top_level) shown.push_back(window);
    }
    return shown;
  };
  std::vector<WindowInfo> shown;
  ASSERT_TRUE(WaitFor([&] { return !(shown = top_level()).empty(); }))
      << copy_.Output(program).toStdString();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].name, "Error");
  EXPECT_FALSE(TrayIconOf(program.processId()));
  ASSERT_TRUE(Focus(shown[0].id) && PressKeys("Return"));

  // Then the help on installing engines, and nothing else, until it is closed.
  ASSERT_TRUE(WaitFor([&] {
    shown = top_level();
    return shown.size() == 1 && shown[0].name == "Installing speech engines - Voxmere! Help";
  })) << copy_.Output(program).toStdString();
  EXPECT_EQ(program.state(), QProcess::Running);
  ASSERT_TRUE(Focus(shown[0].id) && PressKeys("Escape"));
  ASSERT_TRUE(WaitFor([&] { return program.state() == QProcess::NotRunning; }));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 1) << copy_.Output(program).toStdString();
}

}  // namespace
}  // namespace voxmere::e2e
