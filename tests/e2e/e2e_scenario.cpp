// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e_scenario.h"

#include <stdexcept>

namespace voxmere::e2e {

void ScenarioTest::SetUp() {
  ASSERT_TRUE(copy_.Ready()) << "the program could not be copied into a folder of its own";
  try {
    monitor_ = std::make_unique<AudioMonitor>();
  } catch (const std::runtime_error& error) {
    FAIL() << "no test audio sink to listen to: " << error.what();
  }
}

QProcess* ScenarioTest::StartProgram(const QByteArray& cfg, const QProcessEnvironment& extra) {
  if (!cfg.isEmpty()) copy_.WriteSettingsFile("cfg.ini", cfg);
  QProcess& program = copy_.Start({}, extra);
  program_ = &program;
  if (program.state() == QProcess::NotRunning) {
    ADD_FAILURE() << "the program did not start: " << program.errorString().toStdString();
    return nullptr;
  }
  if (!copy_.WaitForTrayIcon(program)) {
    ADD_FAILURE() << "no tray icon came; " << Output().toStdString();
    return nullptr;
  }
  return &program;
}

QString ScenarioTest::SelectInXterm(const QString& line) {
  const QString window = xterms_.Start(line);
  if (window.isEmpty()) {
    ADD_FAILURE() << "the xterm did not come";
    return {};
  }
  const QString selected = Xterms::SelectFirstRow(window, line);
  if (selected.isEmpty()) ADD_FAILURE() << "the xterm's row could not be selected";
  return selected;
}

std::optional<ScenarioTest::Clock::time_point> ScenarioTest::PressAndListen(
    const QString& keys, std::chrono::milliseconds timeout) {
  monitor_->Clear();
  if (!PressKeys(keys)) {
    ADD_FAILURE() << "xdotool could not press " << keys.toStdString();
    return std::nullopt;
  }
  return monitor_->WaitForSound(timeout);
}

std::optional<ScenarioTest::Clock::time_point> ScenarioTest::WaitForQuiet(
    std::chrono::milliseconds timeout) {
  return monitor_->WaitForSilence(std::chrono::milliseconds(1500), timeout);
}

}  // namespace voxmere::e2e
