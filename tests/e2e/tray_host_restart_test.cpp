// SPDX-License-Identifier: GPL-3.0-or-later
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using TrayHostRestartTest = ScenarioTest;

// The process id of the tray host on our display, from its window.
qint64 TrayHostPid() {
  const QStringList windows =
      QString::fromLatin1(Run("xdotool", {"search", "--classname", "trayer"}).output)
          .split('\n', Qt::SkipEmptyParts);
  static const QRegularExpression pid_line(QStringLiteral("_NET_WM_PID\\(CARDINAL\\) = (\\d+)"));
  for (const QString& window : windows) {
    const QString properties =
        QString::fromLatin1(Run("xprop", {"-id", window.trimmed(), "_NET_WM_PID"}).output);
    const QRegularExpressionMatch match = pid_line.match(properties);
    if (match.hasMatch()) return match.captured(1).toLongLong();
  }
  return 0;
}

// When the desktop's tray host goes and a new one comes (a restarted panel),
// the icon docks in the new one by itself, and its menu still works.
TEST_F(TrayHostRestartTest, TheIconReturnsWhenTheTrayHostIsRestarted) {
  ASSERT_NE(StartProgram(), nullptr);
  const qint64 host = TrayHostPid();
  ASSERT_GT(host, 0) << "no tray host found";

  ASSERT_TRUE(e2e::Run("kill", {QString::number(host)}).ok);
  ASSERT_TRUE(WaitFor([] { return TrayHostPid() == 0; })) << "the tray host did not end";
  EXPECT_FALSE(copy_.WaitForTrayIcon(*program_, 1000)) << "an icon without a tray host";

  // Started as the test services start it; it lives until the display goes,
  // for the tests after this one.
  ASSERT_TRUE(QProcess::startDetached(
      QStringLiteral("trayer"), {"--edge", "top", "--align", "right", "--widthtype", "request",
                                 "--height", "24", "--transparent", "false"}));
  EXPECT_TRUE(copy_.WaitForTrayIcon(*program_, 20000))
      << "the icon did not come back; " << Output().toStdString();
  EXPECT_EQ(program_->state(), QProcess::Running);
}

}  // namespace
}  // namespace voxmere::e2e
