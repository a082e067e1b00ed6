// SPDX-License-Identifier: GPL-3.0-or-later
// The programs as a user gets them from the Debian package: the package in
// $VOXMERE_TEST_PACKAGE_DIR unpacked into a root of its own, whose usr/bin
// comes first on PATH, and run from there with the private services of
// with_services.sh (X server, tray host, audio, speech-dispatcher).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "../e2e/e2e_env.h"
#include "support/audio_monitor.h"
#include "support/test_application.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;

// A first start whose welcome window has been seen: it shows the options
// window straight away and leaves its first run behind in the settings.
const QByteArray kWelcomed = "[General]\r\nWelcomeDlg=1\r\n";

// The value of `key` in a desktop entry's main group.
QString DesktopEntryValue(const QString& path, const QString& key) {
  for (const QByteArray& line : FileContent(path).split('\n')) {
    if (line.startsWith(key.toUtf8() + "=")) return QString::fromUtf8(line.mid(key.size() + 1));
  }
  return {};
}

class InstalledProgramTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test_support::TestApplication<QGuiApplication>("xcb");
    root_ = std::make_unique<QTemporaryDir>();
    const QDir packages(qEnvironmentVariable("VOXMERE_TEST_PACKAGE_DIR"));
    const QStringList debs = packages.entryList({"voxmere_*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << "one package in " << packages.path().toStdString();
    ASSERT_TRUE(e2e::Run("dpkg-deb", {"-x", packages.filePath(debs[0]), root_->path()}, 60000).ok);
    qputenv("PATH", QFile::encodeName(Installed("bin")) + ":" + qgetenv("PATH"));
  }
  static void TearDownTestSuite() { root_.reset(); }

  // A path under the root's /usr.
  static QString Installed(const QString& path) { return root_->filePath("usr/" + path); }

  static QString SettingsFile(const QString& name) {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/voxmere/" + name;
  }

  // Starts a command, found on PATH as the desktop finds it; its output goes
  // to a file for failure messages. Ended when the test ends.
  QProcess& Start(const QStringList& command) {
    program_ = std::make_unique<QProcess>();
    program_->setProcessChannelMode(QProcess::MergedChannels);
    program_->setStandardOutputFile(output_.filePath("output.txt"));
    program_->setStandardInputFile(QProcess::nullDevice());
    program_->start(command.value(0), command.mid(1));
    program_->waitForStarted(10000);
    return *program_;
  }
  std::string Output() const {
    return "program output:\n" + FileContent(output_.filePath("output.txt")).toStdString();
  }
  // Ends the program as the session's end would.
  void Stop() {
    if (!program_) return;
    program_->terminate();
    if (!program_->waitForFinished(5000)) program_->kill();
    program_.reset();
  }
  void TearDown() override { Stop(); }

  static std::unique_ptr<QTemporaryDir> root_;
  QTemporaryDir output_;
  std::unique_ptr<QProcess> program_;
};

std::unique_ptr<QTemporaryDir> InstalledProgramTest::root_;

TEST_F(InstalledProgramTest, TheMenuEntrysIconIsInstalled) {
  const QString icon = DesktopEntryValue(Installed("share/applications/voxmere.desktop"), "Icon");
  EXPECT_TRUE(QFile::exists(Installed("share/icons/hicolor/scalable/apps/" + icon + ".svg")))
      << icon.toStdString();
  EXPECT_TRUE(QFile::exists(Installed("share/icons/hicolor/48x48/apps/" + icon + ".png")));
}

TEST_F(InstalledProgramTest, SayListsTheVoicesAndWritesAWaveFile) {
  const RunResult listed = e2e::Run(Installed("bin/voxmere-say"), {"--list-voices"}, 60000);
  ASSERT_TRUE(listed.ok);
  EXPECT_TRUE(listed.output.contains("espeak-ng\t")) << listed.output.toStdString();
  EXPECT_TRUE(listed.output.contains("speech-dispatcher\t")) << listed.output.toStdString();

  const QString wav = output_.filePath("hello.wav");
  ASSERT_TRUE(
      e2e::Run(Installed("bin/voxmere-say"), {"--wav", wav, "Hello from the package."}, 60000).ok);
  const QByteArray audio = FileContent(wav);
  ASSERT_GT(audio.size(), 44 + 8000) << "more than a header and a moment of sound";
  EXPECT_TRUE(audio.startsWith("RIFF") && audio.mid(8, 4) == "WAVE");
}

TEST_F(InstalledProgramTest, TheProgramStartsKeepsItsSettingsInTheUsersFolderAndReads) {
  std::unique_ptr<AudioMonitor> monitor;
  ASSERT_NO_THROW(monitor = std::make_unique<AudioMonitor>());
  ASSERT_TRUE(QDir().mkpath(QFileInfo(SettingsFile("cfg.ini")).path()));
  {
    QFile cfg(SettingsFile("cfg.ini"));
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly) && cfg.write(kWelcomed) == kWelcomed.size());
  }

  // The first start, from the menu: the settings folder is the user's, read
  // and written, and the start-up entry names the program as PATH finds it.
  const QString menu_entry = Installed("share/applications/voxmere.desktop");
  const QStringList command = QProcess::splitCommand(DesktopEntryValue(menu_entry, "Exec"));
  ASSERT_FALSE(command.isEmpty()) << FileContent(menu_entry).toStdString();
  QProcess& first = Start(command);
  std::optional<WindowInfo> options;
  ASSERT_TRUE(WaitFor([&] {
                options = VisibleWindowNamed(first.processId(), "Voxmere! Options");
                return options.has_value() || first.state() == QProcess::NotRunning;
              }) &&
              options)
      << Output();
  EXPECT_TRUE(WaitFor([&] { return TrayIconOf(first.processId()).has_value(); })) << Output();
  EXPECT_TRUE(WaitFor([&] {
    return IniValue(SettingsFile("cfg.ini"), "General", "FirstRun") == "0";
  })) << FileContent(SettingsFile("cfg.ini")).toStdString();
  EXPECT_EQ(QDir(Installed("bin")).entryList(QDir::Files | QDir::Hidden),
            QStringList({"voxmere", "voxmere-say"}))
      << "nothing written beside the installed program";
  const QString autostart = qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart/voxmere.desktop";
  EXPECT_EQ(DesktopEntryValue(autostart, "Exec"), "voxmere -autostart")
      << FileContent(autostart).toStdString();

  // Its help: the help file and the help window's module from the package.
  ASSERT_TRUE(Focus(options->id) && PressKeys("F1"));
  EXPECT_TRUE(WaitFor([&] {
    for (const WindowInfo& window : WindowsOf(first.processId())) {
      if (window.viewable && window.name.endsWith(" - Voxmere! Help")) return true;
    }
    return false;
  })) << Output();
  Stop();

  // Started as the start-up entry starts it: hidden in the tray, reading the
  // selection on the reading hot key.
  QProcess& later = Start(QProcess::splitCommand(DesktopEntryValue(autostart, "Exec")));
  ASSERT_TRUE(WaitFor([&] { return TrayIconOf(later.processId()).has_value(); }, 30000))
      << Output();
  Xterms xterms;
  const QString xterm = xterms.Start("Read from the package");
  ASSERT_FALSE(xterm.isEmpty());
  ASSERT_FALSE(Xterms::SelectFirstRow(xterm, "Read from the package").isEmpty());
  monitor->Clear();
  ASSERT_TRUE(PressKeys("ctrl+BackSpace"));
  EXPECT_TRUE(monitor->WaitForSound(20s)) << "nothing was spoken; " << Output();
  EXPECT_TRUE(monitor->WaitForSilence(1500ms, 30s));
}

}  // namespace
}  // namespace voxmere::e2e
