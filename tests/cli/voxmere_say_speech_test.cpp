// SPDX-License-Identifier: GPL-3.0-or-later
// voxmere-say speaking through the real engines into the test's null sink.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/audio_monitor.h"

namespace voxmere {
namespace {

using std::chrono::milliseconds;

struct Outcome {
  int status = -1;
  QByteArray out;
  QByteArray err;
  qint64 elapsed_ms = 0;
};

Outcome RunSay(const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  QElapsedTimer timer;
  timer.start();
  process.start(QStringLiteral(VOXMERE_SAY_PATH), arguments);
  process.closeWriteChannel();
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput(), process.readAllStandardError(), timer.elapsed()};
}

QList<QByteArray> VoicesOf(const QByteArray& listing, const QByteArray& engine) {
  QList<QByteArray> names;
  for (const QByteArray& line : listing.split('\n')) {
    if (line.startsWith(engine + '\t')) names << line.mid(engine.size() + 1);
  }
  return names;
}

class VoxmereSaySpeechTest : public ::testing::Test {
 protected:
  QTemporaryDir settings_;
  // An empty settings folder: the default voice is the first voice.
  QStringList Args(QStringList more) {
    return QStringList{"--config-dir", settings_.path()} + more;
  }
};

TEST_F(VoxmereSaySpeechTest, ListsTheVoicesOfBothEngines) {
  const Outcome listed = RunSay(Args({"--list-voices"}));
  ASSERT_EQ(listed.status, 0) << listed.err.constData();
  const QList<QByteArray> espeak = VoicesOf(listed.out, "espeak-ng");
  const QList<QByteArray> speechd = VoicesOf(listed.out, "speech-dispatcher");
  EXPECT_GT(espeak.size(), 20);
  ASSERT_FALSE(speechd.isEmpty());
  for (const QByteArray& name : speechd) EXPECT_TRUE(name.endsWith(" (SAPI5)")) << name.data();
  // espeak-ng voices come first, as the catalogue lists them.
  EXPECT_TRUE(listed.out.startsWith("espeak-ng\t"));
}

TEST_F(VoxmereSaySpeechTest, SpeaksWithEachEngineAndEndsWhenTheSpeechHasEnded) {
  const Outcome listed = RunSay(Args({"--list-voices"}));
  const QList<QByteArray> speechd = VoicesOf(listed.out, "speech-dispatcher");
  ASSERT_FALSE(speechd.isEmpty());

  AudioMonitor monitor;
  for (const QStringList& voice :
       {QStringList{}, QStringList{"--voice", QString::fromUtf8(speechd.first())}}) {
    monitor.Clear();
    const Outcome spoken = RunSay(Args(voice + QStringList{"Reading", "one", "two", "three."}));
    EXPECT_EQ(spoken.status, 0) << spoken.err.constData();
    const auto segments = monitor.SoundSegments(milliseconds(400));
    ASSERT_FALSE(segments.empty()) << "nothing was heard for " << voice.join(' ').toStdString();
    // The program waited for the speech: it did not end before the sound.
    const auto heard = segments.back().end - segments.front().begin;
    EXPECT_GT(heard, milliseconds(500));
    EXPECT_GE(spoken.elapsed_ms, std::chrono::duration_cast<milliseconds>(heard).count() - 100);
    // Nothing more comes after the program ended.
    EXPECT_FALSE(monitor.WaitForSound(milliseconds(500)).has_value());
  }
}

TEST_F(VoxmereSaySpeechTest, WritesWavFilesWithoutPlayingAndRefusesBadRequests) {
  AudioMonitor monitor;
  const QString wav = settings_.filePath("out.wav");
  monitor.Clear();
  const Outcome written = RunSay(Args({"--wav", wav, "--speed", "300", "A", "short", "text."}));
  ASSERT_EQ(written.status, 0) << written.err.constData();
  QFile file(wav);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_GT(bytes.size(), 44 + 8000);
  EXPECT_TRUE(bytes.startsWith("RIFF"));
  EXPECT_EQ(bytes.mid(8, 4), "WAVE");
  EXPECT_FALSE(monitor.WaitForSound(milliseconds(300)).has_value()) << "the file was also played";

  const Outcome unknown = RunSay(Args({"--voice", "No such voice", "x"}));
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(unknown.err.contains("unknown voice 'No such voice'")) << unknown.err.constData();
  const Outcome fast = RunSay(Args({"--speed", "100000", "x"}));
  EXPECT_EQ(fast.status, 2);
  EXPECT_TRUE(fast.err.contains("out of range")) << fast.err.constData();
  const Outcome unwritable = RunSay(Args({"--wav", settings_.filePath("none/out.wav"), "x"}));
  EXPECT_EQ(unwritable.status, 2);
  EXPECT_TRUE(unwritable.err.contains("cannot write")) << unwritable.err.constData();
}

TEST_F(VoxmereSaySpeechTest, WithoutAudioServerOrDaemonItFailsQuicklyWithOneLine) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("PULSE_SERVER", "unix:/nonexistent/pulse");
  environment.insert("SPEECHD_ADDRESS", "unix_socket:/nonexistent/speechd.sock");
  const Outcome outcome = RunSay(Args({"Hello."}), environment);
  EXPECT_EQ(outcome.status, 1) << outcome.err.constData();
  EXPECT_TRUE(outcome.err.startsWith("voxmere-say: no speech engine works"))
      << outcome.err.constData();
  EXPECT_EQ(outcome.err.count('\n'), 1) << outcome.err.constData();
  EXPECT_LT(outcome.elapsed_ms, 10000);
}

}  // namespace
}  // namespace voxmere
