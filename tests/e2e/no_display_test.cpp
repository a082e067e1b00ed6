// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "e2e_env.h"

namespace voxmere::e2e {
namespace {

struct Ended {
  int status;
  QString error_output;
};

// Runs a copy of the program with the environment changed and waits for it
// to end on its own.
Ended RunWith(const ProgramCopy& copy, const std::function<void(QProcessEnvironment&)>& change) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  change(environment);
  process.setProcessEnvironment(environment);
  process.start(copy.Path(), {});
  if (!process.waitForFinished(20000)) {
    process.kill();
    process.waitForFinished();
    return {-1, QStringLiteral("did not end")};
  }
  return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

// Without an X server there are no hot keys and no capture: the program
// says so in one line and ends with a failure status, writing no settings.
TEST(NoDisplayTest, WithoutAnXServerTheProgramSaysSoAndEnds) {
  ProgramCopy copy;
  ASSERT_TRUE(copy.Ready());

  const Ended unset = RunWith(copy, [](QProcessEnvironment& environment) {
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  });
  EXPECT_EQ(unset.status, 1) << unset.error_output.toStdString();
  EXPECT_TRUE(unset.error_output.contains(QStringLiteral("no X server")))
      << unset.error_output.toStdString();

  // A Wayland session without XWayland: the same.
  const Ended wayland_only = RunWith(copy, [](QProcessEnvironment& environment) {
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-0"));
  });
  EXPECT_EQ(wayland_only.status, 1) << wayland_only.error_output.toStdString();
  EXPECT_TRUE(wayland_only.error_output.contains(QStringLiteral("no X server")));

  // A display that no server answers: a clear reason, not Qt's abort.
  const Ended gone = RunWith(copy, [](QProcessEnvironment& environment) {
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  });
  EXPECT_EQ(gone.status, 1) << gone.error_output.toStdString();
  EXPECT_TRUE(gone.error_output.contains(QStringLiteral("cannot connect to the X server :97")))
      << gone.error_output.toStdString();

  EXPECT_FALSE(QFile::exists(copy.SettingsFile(QStringLiteral("cfg.ini"))));
}

}  // namespace
}  // namespace voxmere::e2e
