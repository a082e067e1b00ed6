// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/event_wait.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace voxmere::test_support {

RunResult RunProcess(const QString& program, const QStringList& arguments, int timeout_ms) {
  QProcess process;
  process.setProcessChannelMode(QProcess::SeparateChannels);
  QEventLoop loop;
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
  QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
  process.start(program, arguments);
  if (process.state() != QProcess::NotRunning) loop.exec();
  RunResult result;
  if (process.state() != QProcess::NotRunning) {
    process.kill();
    process.waitForFinished(1000);
    return result;
  }
  result.output = process.readAllStandardOutput();
  result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  return result;
}

}  // namespace voxmere::test_support
