// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QProcess>
#include <QString>
#include <chrono>
#include <memory>
#include <optional>

#include "e2e_env.h"
#include "support/audio_monitor.h"
#include "support/test_application.h"

namespace voxmere::e2e {

// Settings of a program that has run before: it starts hidden in the tray,
// with the default hot keys and the first voice of the list (espeak-ng's),
// and its welcome window has been shown.
inline const QByteArray kRunBefore = "[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n";
// A first run whose welcome window has already been shown (the settings of
// another copy, say): the options window shows at once.
inline const QByteArray kWelcomed = "[General]\r\nWelcomeDlg=1\r\n";

// A scenario: the program in a fresh folder of its own, xterms to read from,
// and what the test audio sink plays.
class ScenarioTest : public ::testing::Test {
 protected:
  using Clock = AudioMonitor::Clock;

  // A QGuiApplication on the private X server: it photographs the screen.
  static void SetUpTestSuite() { test_support::TestApplication<QGuiApplication>("xcb"); }

  void SetUp() override;

  // Writes cfg.ini (unless `cfg` is empty), starts the program and waits
  // until its tray icon is in the tray: by then its hot keys are active.
  // Null (with a test failure) when that does not happen.
  // `extra` goes into its environment.
  QProcess* StartProgram(const QByteArray& cfg = kRunBefore,
                         const QProcessEnvironment& extra = QProcessEnvironment());

  // Shows `line` in a new xterm, selects it and gives the xterm the focus;
  // the selected text, or empty (with a test failure).
  QString SelectInXterm(const QString& line);

  // Presses the keys and waits for sound on the sink; the time of the first
  // loud sample, or nullopt when nothing sounded within the time.
  std::optional<Clock::time_point> PressAndListen(const QString& keys,
                                                  std::chrono::milliseconds timeout);

  // Waits until the sink has been quiet for 1.5 s; the end of the last
  // sound, or nullopt when the sound went on past the time.
  std::optional<Clock::time_point> WaitForQuiet(std::chrono::milliseconds timeout);

  // The program's output, for failure messages.
  QString Output() const { return program_ ? copy_.Output(*program_) : QString(); }

  ProgramCopy copy_;
  Xterms xterms_;
  std::unique_ptr<AudioMonitor> monitor_;
  QProcess* program_ = nullptr;
};

}  // namespace voxmere::e2e
