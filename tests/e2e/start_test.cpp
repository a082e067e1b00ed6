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

}  // namespace
}  // namespace voxmere::e2e
