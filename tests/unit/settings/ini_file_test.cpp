// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "platform/exception.h"

namespace voxmere {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// Two slots as the program writes them before tidying.
const QByteArray kTwoSlotsUntidy(
    "[Slot_0]\r\nVoice=Alpha\r\nHotKey=49217\r\nSpeed=150\r\nPitch=105\r\nVolume=100\r\n"
    "SAPIVersion=5\r\n"
    "[Slot_1]\r\nVoice=Bravo\r\nHotKey=24688\r\nSpeed=170\r\nPitch=120\r\nVolume=80\r\n"
    "SAPIVersion=4\r\n");
const QByteArray kTwoSlotsTidy(
    "[Slot_0]\r\nVoice=Alpha\r\nHotKey=49217\r\nSpeed=150\r\nPitch=105\r\nVolume=100\r\n"
    "SAPIVersion=5\r\n\r\r\n"
    "[Slot_1]\r\nVoice=Bravo\r\nHotKey=24688\r\nSpeed=170\r\nPitch=120\r\nVolume=80\r\n"
    "SAPIVersion=4\r\n");

TEST(IniFileTest, ReadsAndWritesThroughTheFileEveryTime) {
  QTemporaryDir dir;
  const QString path = dir.filePath("sub/cfg.ini");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadInteger(u"General", u"HotKey", 16392), 16392);  // no file yet
  EXPECT_FALSE(ini.HasKeys(u"General"));
  ini.DeleteKey(u"General", u"HotKey");
  EXPECT_FALSE(QFile::exists(path));  // deleting nothing creates nothing

  ini.WriteInteger(u"General", u"HotKey", 16506);
  ini.WriteBool(u"General", u"CloseMsg", true);
  ini.WriteString(u"Speech", u"Voice", u"Alpha");
  EXPECT_EQ(ReadAll(path),
            QByteArray("[General]\r\nHotKey=16506\r\nCloseMsg=1\r\n[Speech]\r\nVoice=Alpha\r\n"));

  // Nothing is cached: a hand edit between two calls is seen.
  WriteAll(path, "[general]\nhotkey=$4041\n");
  EXPECT_EQ(ini.ReadInteger(u"General", u"HotKey", 0), 16449);
  EXPECT_EQ(ini.KeyNames(u"GENERAL"), QStringList{"hotkey"});
  ini.DeleteKey(u"General", u"HotKey");
  EXPECT_EQ(ReadAll(path), QByteArray("[general]\n"));
}

TEST(IniFileTest, TidiesTheTwoSlotFileExactlyAndStaysPut) {
  QTemporaryDir dir;
  const QString path = dir.filePath("slots.ini");
  // Blank lines of the kinds it drops (empty, one blank), LF and CR endings.
  QByteArray messy = kTwoSlotsUntidy;
  messy.replace("SAPIVersion=5\r\n", "SAPIVersion=5\n \r\n\r\r\n\n");
  messy.prepend("\r\n");
  WriteAll(path, messy);
  TidyIniFile(path);
  EXPECT_EQ(ReadAll(path), kTwoSlotsTidy);
  TidyIniFile(path);
  EXPECT_EQ(ReadAll(path), kTwoSlotsTidy);

  WriteAll(path, kTwoSlotsUntidy);
  TidyIniFile(path);
  EXPECT_EQ(ReadAll(path), kTwoSlotsTidy);
}

TEST(IniFileTest, TidyLooksAtEverySecondLineOnly) {
  QTemporaryDir dir;
  const QString path = dir.filePath("cfg.ini");
  // [B] is on line 2 (never looked at); [C] on line 5 is. Lines of two blanks
  // or a tab are not dropped and count for the walk.
  WriteAll(path, "[A]\r\nx=1\r\n[B]\r\nz=3\r\n  \r\n[C]\r\n\t\r\n");
  TidyIniFile(path);
  EXPECT_EQ(ReadAll(path), QByteArray("[A]\r\nx=1\r\n[B]\r\nz=3\r\n  \r\n\r\r\n[C]\r\n\t\r\n"));

  // The step counts the inserted separator: after [B] on line 1 gets one, the
  // walk looks at the old line 2 next, so [C] on the old line 3 gets none.
  WriteAll(path, "[A]\r\n[B]\r\nk=1\r\n[C]\r\n");
  TidyIniFile(path);
  EXPECT_EQ(ReadAll(path), QByteArray("[A]\r\n\r\r\n[B]\r\nk=1\r\n[C]\r\n"));
  // Any line holding both brackets counts, headers or not.
  WriteAll(path, "[A]\r\nv=[x]\r\n");
  TidyIniFile(path);
  EXPECT_EQ(ReadAll(path), QByteArray("[A]\r\n\r\r\nv=[x]\r\n"));
}

TEST(IniFileTest, WholeFileRoutinesFailOnAMissingFileNamingIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath("slots.ini");
  for (auto routine : {+[](const QString& p) { TidyIniFile(p); },
                       +[](const QString& p) { EraseIniSection(p, "Slot_0"); },
                       +[](const QString& p) { RenameIniSection(p, "Slot_1", "Slot_0"); }}) {
    try {
      routine(path);
      ADD_FAILURE() << "no error on a missing file";
    } catch (const Exception& e) {
      EXPECT_TRUE(e.Message().contains("slots.ini")) << e.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(path));
  }
}

TEST(IniFileTest, DeletingASlotErasesRenamesAndTidies) {
  QTemporaryDir dir;
  const QString path = dir.filePath("slots.ini");
  QByteArray three = kTwoSlotsTidy;
  three.append(
      "\r\r\n[Slot_2]\r\nVoice=Charlie\r\nHotKey=0\r\nSpeed=1\r\nPitch=2\r\nVolume=3\r\n"
      "SAPIVersion=4\r\n");
  WriteAll(path, three);
  EraseIniSection(path, "slot_0");
  IniFile ini(path);
  EXPECT_FALSE(ini.HasKeys(u"Slot_0"));
  RenameIniSection(path, "Slot_1", "Slot_0");
  RenameIniSection(path, "Slot_2", "Slot_1");
  TidyIniFile(path);
  EXPECT_EQ(ReadAll(path),
            QByteArray("[Slot_0]\r\nVoice=Bravo\r\nHotKey=24688\r\nSpeed=170\r\nPitch=120\r\n"
                       "Volume=80\r\nSAPIVersion=4\r\n\r\r\n"
                       "[Slot_1]\r\nVoice=Charlie\r\nHotKey=0\r\nSpeed=1\r\nPitch=2\r\nVolume=3\r\n"
                       "SAPIVersion=4\r\n"));

  // A header written with blanks is matched like the key access matches it.
  WriteAll(path, "[ Slot_0 ]\r\nVoice=A\r\n[Slot_1]\r\nVoice=B\r\n");
  EraseIniSection(path, "Slot_0");
  RenameIniSection(path, "Slot_1", "Slot_0");
  EXPECT_EQ(ReadAll(path), QByteArray("[Slot_0]\r\nVoice=B\r\n"));
}

TEST(IniFileTest, FailedWriteLeavesTheOldFileWholeAndNamesIt) {
  QTemporaryDir dir;
  // A path under a regular file can never be written, even by root.
  const QString blocker = dir.filePath("plain");
  WriteAll(blocker, "x");
  try {
    IniFile(blocker + "/cfg.ini").WriteBool(u"General", u"CloseMsg", true);
    FAIL() << "write under a regular file succeeded";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().contains("cfg.ini")) << e.Message().toStdString();
  }

  // A write that runs out of room half-way (file size limit): the file keeps
  // its old bytes and no temporary file is left behind.
  const QString path = dir.filePath("cfg.ini");
  const QByteArray original = kTwoSlotsTidy;
  WriteAll(path, original);
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit small = old_limit;
  small.rlim_cur = static_cast<rlim_t>(original.size() + 10);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool thrown = false;
  QString message;
  try {
    IniFile(path).WriteString(u"Slot_0", u"Voice", QString(200, u'x'));
  } catch (const Exception& e) {
    thrown = true;
    message = e.Message();
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(thrown);
  EXPECT_TRUE(message.contains("cfg.ini")) << message.toStdString();
  EXPECT_EQ(ReadAll(path), original);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"cfg.ini", "plain"}));
}

TEST(IniFileTest, BatchIsOneSaveThatReadsItsOwnPendingValues) {
  QTemporaryDir dir;
  const QString path = dir.filePath("cfg.ini");
  WriteAll(path, kTwoSlotsUntidy);
  IniFile ini(path);
  ini.BeginBatch();
  ini.WriteInteger(u"Slot_0", u"Speed", 99);
  ini.DeleteKey(u"Slot_1", u"Pitch");
  ini.WriteString(u"Slot_2", u"Voice", u"Charlie");
  EXPECT_EQ(ini.ReadInteger(u"Slot_0", u"Speed", 0), 99);
  EXPECT_FALSE(ini.ReadValue(u"Slot_1", u"Pitch").has_value());
  // Until the commit the file is the old one, byte for byte.
  EXPECT_EQ(ReadAll(path), kTwoSlotsUntidy);
  ini.TidyBatch();
  ini.CommitBatch();
  IniFile after(path);
  EXPECT_EQ(after.ReadInteger(u"Slot_0", u"Speed", 0), 99);
  EXPECT_FALSE(after.ReadValue(u"Slot_1", u"Pitch").has_value());
  EXPECT_EQ(after.ReadString(u"Slot_2", u"Voice", {}), "Charlie");
  EXPECT_TRUE(ReadAll(path).contains("SAPIVersion=5\r\n\r\r\n[Slot_1]"));

  // After the commit every write is its own save again; an empty batch
  // writes nothing (not even a missing file).
  ini.WriteInteger(u"Slot_0", u"Speed", 7);
  EXPECT_EQ(after.ReadInteger(u"Slot_0", u"Speed", 0), 7);
  IniFile missing(dir.filePath("none.ini"));
  missing.BeginBatch();
  missing.CommitBatch();
  EXPECT_FALSE(QFile::exists(missing.Path()));
}

}  // namespace
}  // namespace voxmere
