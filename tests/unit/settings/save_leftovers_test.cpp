// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/save_leftovers.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace voxmere {
namespace {

using std::chrono::seconds;

void MakeFile(const QString& path, int age_seconds) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(file.write("[General]\r\n") > 0 && file.flush());  // before the time is set
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-age_seconds),
                               QFileDevice::FileModificationTime));
}

TEST(SaveLeftoversTest, RemovesOnlyOldTemporariesOfTheThreeFiles) {
  QTemporaryDir dir;
  struct Case {
    const char* name;
    int age_seconds;
    bool removed;
  };
  const Case cases[] = {
      {"cfg.ini.AbCdEf", 60, true},      {"slots.ini.qwErty", 60, true},
      {"words.ini.ZZZZZZ", 60, false},   {"cfg.ini.backup", 60, false},
      {"cfg.ini.AbCdEf.bak", 60, false}, {"words.ini.XyZwV", 60, false},
      {"slots.ini.XyZwVuT", 60, false},  {"cfg.ini.Ab3dEf", 60, false},
      {"Cfg.ini.AbCdEf", 60, false},     {"other.ini.AbCdEf", 60, false},
      {"cfgXini.AbCdEf", 60, false},     {"cfg.ini", 60, false},
      {"words.ini.QrStUv", 0, false},  // maybe being written
  };
  for (const Case& c : cases) MakeFile(dir.filePath(c.name), c.age_seconds);
  // A folder and a link with a leftover's name are not files of ours.
  ASSERT_TRUE(QDir(dir.path()).mkdir("slots.ini.FoLdEr"));
  MakeFile(dir.filePath("target"), 60);
  ASSERT_TRUE(QFile::link(dir.filePath("target"), dir.filePath("cfg.ini.LiNkEd")));

  const QStringList removed = RemoveSaveLeftovers(dir.path());
  for (const Case& c : cases) {
    EXPECT_EQ(!QFile::exists(dir.filePath(c.name)), c.removed) << c.name;
    EXPECT_EQ(removed.contains(c.name), c.removed) << c.name;
  }
  EXPECT_TRUE(QDir(dir.filePath("slots.ini.FoLdEr")).exists());
  EXPECT_TRUE(QFileInfo(dir.filePath("cfg.ini.LiNkEd")).isSymLink());
  EXPECT_TRUE(QFile::exists(dir.filePath("target")));

  // With no age asked for, a fresh one goes too; a missing folder is no error.
  EXPECT_EQ(RemoveSaveLeftovers(dir.path(), seconds(0)), QStringList{"words.ini.QrStUv"});
  EXPECT_TRUE(RemoveSaveLeftovers(dir.filePath("missing")).isEmpty());
}

}  // namespace
}  // namespace voxmere
