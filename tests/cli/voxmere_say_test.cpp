// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "cli/say_options.h"

namespace voxmere {
namespace {

struct Outcome {
  int status = -1;
  QByteArray out;
  QByteArray err;
};

Outcome RunSay(const QStringList& arguments, const QByteArray& input = {}) {
  QProcess process;
  process.start(QStringLiteral(VOXMERE_SAY_PATH), arguments);
  process.write(input);
  process.closeWriteChannel();
  process.waitForFinished(30000);
  return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray Digest(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

TEST(VoxmereSayTest, PreparesWithTheSettingsAndNeverWritesThem) {
  QTemporaryDir dir;
  Write(dir.filePath("cfg.ini"), "[Pronunciation]\r\nIgnoreCharacters=1\r\nWordsCorrections=1\r\n");
  Write(dir.filePath("words.ini"),
        "Dr###***###Doctor###***###No\r\nkm###***###kilometres###***###Yes\r\n");
  const QByteArray cfg = Digest(dir.filePath("cfg.ini"));
  const QByteArray words = Digest(dir.filePath("words.ini"));

  Outcome from_args = RunSay({"--prepare", "--config-dir", dir.path(), "DR", "*Smith*", "5", "km"});
  EXPECT_EQ(from_args.status, 0) << from_args.err.constData();
  EXPECT_EQ(from_args.out, "Doctor  Smith  5 kilometres\n");

  // From standard input the text comes back byte for byte, line ends included.
  Outcome from_stdin =
      RunSay({"--config-dir=" + dir.path(), "--prepare"}, "two_words\r\nKM dr\n\xC3\xA9");
  EXPECT_EQ(from_stdin.status, 0) << from_stdin.err.constData();
  EXPECT_EQ(from_stdin.out, "two words\r\nKM Doctor\n\xC3\xA9");

  EXPECT_EQ(Digest(dir.filePath("cfg.ini")), cfg);
  EXPECT_EQ(Digest(dir.filePath("words.ini")), words);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(VoxmereSayTest, WithoutSettingsTheTextStaysAsItIs) {
  QTemporaryDir dir;
  Outcome outcome = RunSay({"--prepare", "--config-dir", dir.path(), "a*b_c"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "a*b_c\n");
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(VoxmereSayTest, BadArgumentsAndUnreadableFilesExitWithStatusTwo) {
  QTemporaryDir dir;
  const auto expect_failure = [](const Outcome& outcome, const char* words) {
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_TRUE(outcome.err.startsWith("voxmere-say: ")) << outcome.err.constData();
    EXPECT_TRUE(outcome.err.contains(words)) << outcome.err.constData();
    EXPECT_EQ(outcome.err.count('\n'), 1) << "one line: " << outcome.err.constData();
  };
  expect_failure(RunSay({"--prepare", "--loud", "x"}), "unknown option '--loud'");
  expect_failure(RunSay({"--prepare", "--config-dir"}), "--config-dir needs a folder");
  expect_failure(RunSay({"--speed", "fast", "x"}), "--speed needs a whole number, not 'fast'");
  expect_failure(RunSay({"--volume=1e2", "x"}), "--volume needs a whole number");
  expect_failure(RunSay({"--prepare", "--voice", "en", "x"}), "takes no voice options");
  expect_failure(RunSay({"--list-voices", "x"}), "--list-voices takes no text");
  expect_failure(RunSay({"--prepare", "--config-dir", dir.filePath("none"), "x"}),
                 "no such folder");
  // A words.ini that cannot be read (a folder in its place).
  QDir(dir.path()).mkdir("words.ini");
  expect_failure(RunSay({"--prepare", "--config-dir", dir.path(), "x"}), "words.ini");

  // Output that cannot be written is a failure too.
  if (QFile::exists("/dev/full")) {
    QProcess full;
    full.setStandardOutputFile("/dev/full");
    QTemporaryDir empty;
    full.start(QStringLiteral(VOXMERE_SAY_PATH), {"--prepare", "--config-dir", empty.path(), "x"});
    ASSERT_TRUE(full.waitForFinished(30000));
    EXPECT_EQ(full.exitCode(), 2);
    EXPECT_TRUE(full.readAllStandardError().contains("cannot write standard output"));
  }

  Outcome help = RunSay({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.startsWith("Usage: voxmere-say"));
}

TEST(VoxmereSayTest, AWritableProgramFolderHoldsTheSettings) {
  // A portable copy: the tool and its settings in one writable folder.
  QTemporaryDir portable;
  const QString copy = portable.filePath("voxmere-say");
  ASSERT_TRUE(QFile::copy(QStringLiteral(VOXMERE_SAY_PATH), copy));
  QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner);
  Write(portable.filePath("cfg.ini"), "[Pronunciation]\r\nIgnoreCharacters=1\r\n");

  QProcess process;
  process.start(copy, {"--prepare", "a_b"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(process.readAllStandardOutput(), "a b\n");
}

TEST(SayOptionsTest, ParsesWordsOptionsAndTheEndOfOptions) {
  SayOptionsResult parsed = ParseSayOptions({"--prepare", "--", "--not-an-option", "-"});
  EXPECT_TRUE(parsed.error.isEmpty());
  EXPECT_EQ(parsed.options.text, QStringLiteral("--not-an-option -"));
  EXPECT_FALSE(ParseSayOptions({"--prepare"}).options.text.has_value());
  EXPECT_EQ(ParseSayOptions({"--config-dir=", "--prepare"}).error,
            QStringLiteral("option --config-dir needs a folder"));

  // Speaking is what it does without --prepare; numbers take a sign.
  parsed = ParseSayOptions({"--voice=de", "--speed", "-3", "--pitch=+7", "--volume", "0", "--wav",
                            "out.wav", "Hallo", "Welt"});
  EXPECT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
  EXPECT_EQ(parsed.options.action, SayAction::kSpeak);
  EXPECT_EQ(parsed.options.voice, QStringLiteral("de"));
  EXPECT_EQ(parsed.options.speed, -3);
  EXPECT_EQ(parsed.options.pitch, 7);
  EXPECT_EQ(parsed.options.volume, 0);
  EXPECT_EQ(parsed.options.wav_file, QStringLiteral("out.wav"));
  EXPECT_EQ(parsed.options.text, QStringLiteral("Hallo Welt"));
  EXPECT_EQ(ParseSayOptions({"--list-voices"}).options.action, SayAction::kListVoices);
  EXPECT_FALSE(ParseSayOptions({"--speedy", "x"}).error.isEmpty());
  EXPECT_FALSE(ParseSayOptions({"--pitch", "99999999999", "x"}).error.isEmpty());
  EXPECT_FALSE(ParseSayOptions({"--volume"}).error.isEmpty());
}

}  // namespace
}  // namespace voxmere
