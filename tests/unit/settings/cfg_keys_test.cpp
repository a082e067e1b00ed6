// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/cfg_keys.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/exception.h"
#include "settings/settings_folder.h"

namespace voxmere {
namespace {

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(CfgFileTest, MissingFileGivesTheTableDefaults) {
  QTemporaryDir dir;
  const CfgFile cfg(dir.filePath("cfg.ini"));
  EXPECT_TRUE(cfg.ReadBool(kFirstRun));
  EXPECT_EQ(cfg.ReadHotKey(kHotKey), 16392);
  EXPECT_EQ(cfg.ReadHotKey(kOptHotKey), 16506);
  EXPECT_EQ(cfg.ReadHotKey(kStopHotKey), 16507);
  EXPECT_TRUE(cfg.ReadBool(kMinimizeToTray));
  EXPECT_FALSE(cfg.ReadBool(kWelcomeDlg));
  EXPECT_FALSE(cfg.ReadBool(kCloseMsg));
  EXPECT_FALSE(cfg.ReadBool(kIgnoreCharacters));
  EXPECT_EQ(cfg.ReadString(kIgnoredCharacters), QStringLiteral("*\\/\"`_~"));
  EXPECT_EQ(cfg.ReadString(kIgnoredCharacters).size(), 7);
  EXPECT_FALSE(cfg.ReadBool(kWordsCorrections));
  EXPECT_EQ(cfg.ReadInteger(kSAPIVersion), 4);
  EXPECT_EQ(cfg.ReadInteger(kFormVersion), 0);
  EXPECT_FALSE(cfg.ReadBool(kVisible));

  // Keys whose default depends on the voices or the screen need the caller's.
  EXPECT_THROW(cfg.ReadInteger(kSpeed), Exception);
  EXPECT_THROW(cfg.ReadString(kVoice), Exception);
  EXPECT_THROW(cfg.ReadBool(kHotKey), Exception);  // wrong kind of default
  EXPECT_EQ(cfg.ReadInteger(kSpeed, -2), -2);
  EXPECT_EQ(cfg.ReadString(kVoice, "first voice"), QStringLiteral("first voice"));
  EXPECT_EQ(cfg.TryReadInteger(kPixelsPerInch), std::nullopt);
  EXPECT_EQ(cfg.TryReadString(kActiveControl), std::nullopt);
  EXPECT_FALSE(QFile::exists(cfg.Path()));  // reading creates nothing
}

TEST(CfgFileTest, ReadsStoredValuesAndHotKeysByTheirLow16Bits) {
  QTemporaryDir dir;
  const QString path = dir.filePath("cfg.ini");
  WriteAll(path,
           "[General]\r\nHotKey=0x802D\r\nOptHotKey=-1\r\nStopHotKey=$1402D\r\n"
           "MinimizeToTray=0\r\nFirstRun=no\r\n"
           "[Speech]\r\nSAPIVersion=5\r\nVoice=Alpha\r\nSpeed=junk\r\n"
           "[Options_window]\r\nMinMaxPos(1024x768)=-1,-1,-1,-1\r\nActiveControl=\r\n");
  const CfgFile cfg(path);
  EXPECT_EQ(cfg.ReadHotKey(kHotKey), 32813);  // Alt+Ins
  EXPECT_EQ(cfg.ReadHotKey(kOptHotKey), 0xFFFF);
  EXPECT_EQ(cfg.ReadHotKey(kStopHotKey), 0x402D);
  EXPECT_FALSE(cfg.ReadBool(kMinimizeToTray));
  EXPECT_TRUE(cfg.ReadBool(kFirstRun));  // not a number: the default
  EXPECT_EQ(cfg.ReadInteger(kSAPIVersion), 5);
  EXPECT_EQ(cfg.ReadString(kVoice, "first"), QStringLiteral("Alpha"));
  EXPECT_EQ(cfg.ReadInteger(kSpeed, 7), 7);
  EXPECT_EQ(cfg.TryReadInteger(kSpeed), std::nullopt);
  EXPECT_EQ(cfg.TryReadString(kActiveControl), QString(""));
  const QString screen_key = PlacementKeyForScreen(kMinMaxPos.key, 1024, 768);
  EXPECT_EQ(screen_key, QStringLiteral("MinMaxPos(1024x768)"));
  EXPECT_EQ(cfg.File().ReadString(kCfgOptionsWindow, screen_key, ""),
            QStringLiteral("-1,-1,-1,-1"));
}

TEST(CfgFileTest, OneTimeFlagWritersSetOneAndKeepTheRest) {
  QTemporaryDir dir;
  const QString path = dir.filePath("cfg.ini");
  const CfgFile cfg(path);
  cfg.WriteWelcomeDlg();
  EXPECT_TRUE(cfg.ReadBool(kWelcomeDlg));
  EXPECT_FALSE(cfg.ReadBool(kCloseMsg));

  WriteAll(path, "[General]\r\nHotKey=1\r\nCloseMsg=0\r\n\r\r\n[Speech]\r\nVoice=A\r\n");
  cfg.WriteCloseMsg();
  cfg.WriteWelcomeDlg();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("[General]\r\nHotKey=1\r\nCloseMsg=1\r\nWelcomeDlg=1\r\n"
                                       "\r\r\n[Speech]\r\nVoice=A\r\n"));
}

// Sets an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray* value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    if (value) {
      qputenv(name, *value);
    } else {
      qunsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      qputenv(name_, old_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

TEST(SettingsFolderTest, ProgramFolderWhenWritableElseXdgConfig) {
  QTemporaryDir dir;
  EXPECT_EQ(SettingsFolder(dir.path() + "/"), QDir(dir.path()).absolutePath());
  EXPECT_EQ(SettingsFilePath(dir.path(), kSlotsFileName), dir.path() + "/slots.ini");

  const QString home = dir.filePath("home");
  const QByteArray home_bytes = home.toLocal8Bit();
  ScopedEnv home_env("HOME", &home_bytes);
  const QString not_a_folder = dir.filePath("voxmere-binary");
  QFile(not_a_folder).open(QIODevice::WriteOnly);

  const QByteArray config = dir.filePath("config").toLocal8Bit();
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", &config);
    EXPECT_EQ(SettingsFolder(not_a_folder), dir.filePath("config/voxmere"));
    EXPECT_EQ(SettingsFolder(dir.filePath("missing")), dir.filePath("config/voxmere"));
    // An installed program's folder is writable for root but holds no settings.
    EXPECT_EQ(SettingsFolder("/usr/bin"), dir.filePath("config/voxmere"));
    EXPECT_EQ(SettingsFolder("/usr/local/bin/"), dir.filePath("config/voxmere"));
    // Installed under a prefix of the user's own: the folder is writable.
    ASSERT_TRUE(QDir(dir.path()).mkpath("prefix/bin") &&
                QDir(dir.path()).mkpath("prefix/share/voxmere"));
    EXPECT_EQ(SettingsFolder(dir.filePath("prefix/bin")), dir.filePath("config/voxmere"));
  }
  const QByteArray empty;
  const QByteArray relative("relative/config");
  for (const QByteArray* value : {static_cast<const QByteArray*>(nullptr), &empty, &relative}) {
    ScopedEnv xdg("XDG_CONFIG_HOME", value);
    EXPECT_EQ(SettingsFolder(not_a_folder), home + "/.config/voxmere");
  }
  EXPECT_EQ(kCfgFileName, QStringView(u"cfg.ini"));
  EXPECT_EQ(kWordsFileName, QStringView(u"words.ini"));
}

}  // namespace
}  // namespace voxmere
