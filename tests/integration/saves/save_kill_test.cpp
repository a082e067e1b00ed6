// SPDX-License-Identifier: GPL-3.0-or-later
// Kills a process that saves the three settings files in a loop with SIGKILL
// at random moments: after every kill each file must hold exactly one of its
// two known contents, and the start-up clean-up must leave no temporary of
// ours behind. VOXMERE_SAVE_KILLS sets the number of kills (200), and
// VOXMERE_SAVE_KILL_SEED repeats a run.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtGlobal>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>

#include "settings/save_leftovers.h"
#include "settings/settings_folder.h"

namespace voxmere {
namespace {

const QStringList kFiles = {kCfgFileName.toString(), kSlotsFileName.toString(),
                            kWordsFileName.toString()};

void RunLoop(const QString& folder, const QString& mode) {
  QProcess process;
  process.start(QStringLiteral(VOXMERE_SAVE_LOOP), {folder, mode});
  ASSERT_TRUE(process.waitForFinished(30000)) << process.errorString().toStdString();
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList Leftovers(const QString& folder) {
  QStringList found;
  for (const QString& name : QDir(folder).entryList(QDir::Files)) {
    if (IsSaveLeftoverName(name)) found.append(name);
  }
  return found;
}

TEST(SaveKillTest, EveryFileIsOldOrNewAfterAKillAndNoTemporaryOutlivesAStart) {
  QTemporaryDir dir;
  const QString folder_a = dir.filePath("a");
  const QString folder_b = dir.filePath("b");
  const QString live = dir.filePath("live");
  RunLoop(folder_a, QStringLiteral("once"));
  RunLoop(folder_b, QStringLiteral("once"));
  RunLoop(folder_b, QStringLiteral("b"));
  RunLoop(live, QStringLiteral("once"));
  std::map<QString, std::pair<QByteArray, QByteArray>> contents;
  for (const QString& name : kFiles) {
    contents[name] = {ReadAll(folder_a + u'/' + name), ReadAll(folder_b + u'/' + name)};
    ASSERT_NE(contents[name].first, contents[name].second) << name.toStdString();
  }

  const int kills = qEnvironmentVariableIntValue("VOXMERE_SAVE_KILLS") > 0
                        ? qEnvironmentVariableIntValue("VOXMERE_SAVE_KILLS")
                        : 200;
  const unsigned seed = qEnvironmentVariableIsSet("VOXMERE_SAVE_KILL_SEED")
                            ? qEnvironmentVariable("VOXMERE_SAVE_KILL_SEED").toUInt()
                            : std::random_device()();
  std::printf("%d kills, VOXMERE_SAVE_KILL_SEED=%u\n", kills, seed);
  std::mt19937 random(seed);
  // Up to a few rounds of saving after the loop has begun.
  std::uniform_int_distribution<int> delay_us(0, 20000);

  std::map<QString, int> seen_b;
  int leftovers_removed = 0;
  for (int kill = 0; kill < kills; ++kill) {
    QProcess process;
    process.start(QStringLiteral(VOXMERE_SAVE_LOOP), {live});
    ASSERT_TRUE(process.waitForReadyRead(10000)) << "the save loop did not start";
    QThread::usleep(delay_us(random));
    process.kill();  // SIGKILL
    ASSERT_TRUE(process.waitForFinished(10000));
    ASSERT_EQ(process.exitStatus(), QProcess::CrashExit) << "the save loop ended by itself";

    for (const QString& name : kFiles) {
      const QByteArray now = ReadAll(live + u'/' + name);
      const auto& [a, b] = contents[name];
      ASSERT_TRUE(now == a || now == b)
          << name.toStdString() << " after kill " << kill << " is neither content:\n"
          << now.toStdString();
      if (now == b) ++seen_b[name];
    }
    leftovers_removed +=
        static_cast<int>(RemoveSaveLeftovers(live, std::chrono::seconds(0)).size());
    ASSERT_TRUE(Leftovers(live).isEmpty()) << Leftovers(live).join(u' ').toStdString();
  }
  std::printf("leftovers removed: %d; new content seen: cfg %d, slots %d, words %d\n",
              leftovers_removed, seen_b[kFiles[0]], seen_b[kFiles[1]], seen_b[kFiles[2]]);
  // Kills that all land before the first save would prove nothing.
  for (const QString& name : kFiles) {
    EXPECT_GT(seen_b[name], 0) << name.toStdString();
    EXPECT_LT(seen_b[name], kills) << name.toStdString();
  }
}

}  // namespace
}  // namespace voxmere
