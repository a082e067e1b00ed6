// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app_fixture.h"
#include "speech/voice_catalogue.h"

namespace voxmere {
namespace {

constexpr unsigned kAlt = HotKeyRegistrar::kModAlt;
constexpr unsigned kCtrl = HotKeyRegistrar::kModControl;
constexpr unsigned kVkBack = 0x08;
constexpr unsigned kVkInsert = 0x2D;
constexpr unsigned kVkF11 = 0x7A;
constexpr unsigned kVkF12 = 0x7B;

// The voice list of the fixture: "Mary", "Mike", "Microsoft Anna (SAPI5)",
// "Zira (SAPI5)".
constexpr int kMike = 1;
constexpr int kAnna = 2;

// The window on the fixture's fakes with its voice list built as creation
// builds it, before any settings load.
void BuildWithVoices(AppFixture& f, bool sapi5_available = true) {
  f.window.reset();
  f.window = f.Build();
  LoadVoicesList(f.window->Sapi4(), f.window->Sapi5(), sapi5_available,
                 f.window->default_voice.voices_list);
}

OptionsWindow& Loaded(AppFixture& f) {
  BuildWithVoices(f);
  f.window->LoadSettings();
  return *f.window;
}

// Ends the window, then gives the next one a fresh shell that can focus the
// speed bar.
void Restart(AppFixture& f) {
  f.window.reset();
  f.shell = FakeOptionsWindowShell();
  f.shell.focusable.insert(QStringLiteral("Speed_Bar"));
}

QString WordsPath(const AppFixture& f) { return f.folder.filePath(QStringLiteral("words.ini")); }

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

TEST(LoadSettingsTest, FirstLoadWithoutFileGivesTheDefaultsAndWritesTheStartupEntry) {
  AppFixture f;
  OptionsWindow& window = Loaded(f);

  EXPECT_EQ(window.general.reading_key_field.Text(), QStringLiteral("Ctrl+BkSp"));
  EXPECT_EQ(window.general.options_key_field.Text(), QStringLiteral("Ctrl+F11"));
  EXPECT_EQ(window.general.stop_key_field.Text(), QStringLiteral("Ctrl+F12"));
  EXPECT_TRUE(window.general.minimize_to_tray.Checked());
  EXPECT_FALSE(window.pronunciation.ignore_characters.Checked());
  EXPECT_FALSE(window.pronunciation.use_corrections.Checked());
  EXPECT_EQ(window.pronunciation.ignored_characters.Text(), QStringLiteral("*\\/\"`_~"));
  EXPECT_EQ(window.default_voice.voices_list.ItemIndex(), 0);
  // The SAPI 4 engine's own speed for the first voice.
  EXPECT_EQ(window.default_voice.speed_box.Text(), QStringLiteral("175"));

  EXPECT_TRUE(window.Flags().first_run_at_start);
  EXPECT_TRUE(window.Flags().show_welcome);
  EXPECT_FALSE(window.Flags().first_load);
  EXPECT_TRUE(f.ReadCfg().contains(QStringLiteral("FirstRun=0")));
  EXPECT_EQ(f.startup.Calls(), QStringList{QStringLiteral("Write /opt/voxmere/voxmere")});
  EXPECT_TRUE(window.general.load_at_startup.Checked());

  // The three main hot keys are registered with the fields' combinations.
  EXPECT_TRUE(f.hot_keys.IsRegistered(kCtrl, kVkBack));
  EXPECT_TRUE(f.hot_keys.IsRegistered(kCtrl, kVkF11));
  EXPECT_TRUE(f.hot_keys.IsRegistered(kCtrl, kVkF12));

  // A later load is no first run: the entry the user may have removed stays
  // removed.
  f.startup.Preset(false);
  window.LoadSettings();
  EXPECT_FALSE(window.Flags().first_run_at_start);
  EXPECT_EQ(f.startup.Calls().size(), 1);
  EXPECT_FALSE(window.general.load_at_startup.Checked());
}

TEST(LoadSettingsTest, ReadsStoredValuesAndHotKeysByTheirLowSixteenBits) {
  AppFixture f;
  f.WriteCfg(
      QStringLiteral("[General]\nFirstRun=0\nHotKey=0x802D\nOptHotKey=82042\n"
                     "StopHotKey=$0\nMinimizeToTray=0\nWelcomeDlg=1\n"
                     "[Pronunciation]\nIgnoreCharacters=1\nIgnoredCharacters=#@\n"
                     "WordsCorrections=7\n"));
  f.startup.Preset(true, QStringLiteral("/elsewhere/voxmere"));
  OptionsWindow& window = Loaded(f);

  EXPECT_EQ(window.general.reading_key_field.Text(), QStringLiteral("Alt+Ins"));
  EXPECT_EQ(window.general.reading_key_field.Shortcut(), 32813);
  EXPECT_EQ(window.general.options_key_field.Text(), QStringLiteral("Ctrl+F11"));
  EXPECT_EQ(window.general.stop_key_field.Shortcut(), 0);
  EXPECT_TRUE(f.hot_keys.IsRegistered(kAlt, kVkInsert));
  EXPECT_TRUE(f.hot_keys.IsRegistered(kCtrl, kVkF11));
  EXPECT_FALSE(window.general.minimize_to_tray.Checked());
  EXPECT_FALSE(window.Flags().show_welcome);
  EXPECT_FALSE(window.Flags().first_run_at_start);
  EXPECT_TRUE(f.startup.Calls().isEmpty());
  EXPECT_TRUE(window.general.load_at_startup.Checked());
  EXPECT_TRUE(window.pronunciation.ignore_characters.Checked());
  EXPECT_EQ(window.pronunciation.ignored_characters.Text(), QStringLiteral("#@"));
  EXPECT_TRUE(window.pronunciation.use_corrections.Checked());

  // WelcomeDlg going back to 0 shows the welcome again; nothing here clears
  // the request once made.
  f.Cfg().File().WriteBool(u"General", u"WelcomeDlg", false);
  window.LoadSettings();
  EXPECT_TRUE(window.Flags().show_welcome);
  f.Cfg().WriteWelcomeDlg();
  window.LoadSettings();
  EXPECT_TRUE(window.Flags().show_welcome);
}

TEST(SpeechSettingsTest, Sapi5VoiceAndNumbersGoToTheFileAndBack) {
  AppFixture f;
  OptionsWindow& window = Loaded(f);
  window.default_voice.voices_list.UserSelect(kAnna);
  window.default_voice.speed_bar.SetPosition(2);
  window.default_voice.pitch_bar.SetPosition(-10);
  window.default_voice.volume_bar.SetPosition(40);
  ASSERT_TRUE(window.SaveSettings());
  const CfgFile cfg = f.Cfg();
  EXPECT_EQ(cfg.ReadString(kVoice, QString()), QStringLiteral("Microsoft Anna"));
  EXPECT_EQ(cfg.ReadInteger(kSAPIVersion), 5);
  EXPECT_EQ(cfg.ReadInteger(kSpeed, 0), 210);
  EXPECT_EQ(cfg.ReadInteger(kPitch, 0), 30);
  EXPECT_EQ(cfg.ReadInteger(kVolume, 0), 40);

  OptionsWindow& again = Loaded(f);
  EXPECT_EQ(again.default_voice.voices_list.ItemIndex(), kAnna);
  EXPECT_EQ(again.default_voice.speed_bar.Position(), 2);
  EXPECT_EQ(again.default_voice.pitch_bar.Position(), -10);
  EXPECT_EQ(again.default_voice.volume_bar.Position(), 40);
  EXPECT_EQ(again.default_voice.speed_box.Text(), QStringLiteral("210"));

  // Hand-written numbers go to the nearest position: 187 to 0, 173 up to 0;
  // a missing volume is 100.
  f.WriteCfg(
      QStringLiteral("[General]\nFirstRun=0\n[Speech]\nSAPIVersion=5\n"
                     "Voice=microsoft anna\nSpeed=187\nPitch=173\n"));
  OptionsWindow& edited = Loaded(f);
  EXPECT_EQ(edited.default_voice.voices_list.ItemIndex(), kAnna);
  EXPECT_EQ(edited.default_voice.speed_bar.Position(), 0);
  EXPECT_EQ(edited.default_voice.pitch_bar.Position(), 0);
  EXPECT_EQ(edited.default_voice.volume_bar.Position(), 100);
  EXPECT_EQ(edited.default_voice.pitch_box.Text(), QStringLiteral("180"));

  // A version other than 4 or 5 names a SAPI 5 voice too; its numbers are
  // not read, the bars stay where the choice put them.
  f.WriteCfg(
      QStringLiteral("[General]\nFirstRun=0\n[Speech]\nSAPIVersion=7\nVoice=Zira\n"
                     "Speed=300\nPitch=30\nVolume=5\n"));
  OptionsWindow& other = Loaded(f);
  EXPECT_EQ(other.default_voice.voices_list.ItemIndex(), 3);
  EXPECT_EQ(other.default_voice.speed_box.Text(), QStringLiteral("135"));
  EXPECT_EQ(other.default_voice.pitch_box.Text(), QStringLiteral("105"));
  EXPECT_EQ(other.default_voice.volume_box.Text(), QStringLiteral("100"));
}

TEST(SpeechSettingsTest, Sapi4VoiceKeepsTheEngineNumbersWithinItsRanges) {
  AppFixture f;
  OptionsWindow& window = Loaded(f);
  window.default_voice.voices_list.UserSelect(kMike);
  window.default_voice.speed_bar.SetPosition(300);
  ASSERT_TRUE(window.SaveSettings());
  EXPECT_EQ(f.Cfg().ReadString(kVoice, QString()), QStringLiteral("Mike"));
  EXPECT_EQ(f.Cfg().ReadInteger(kSAPIVersion), 4);
  EXPECT_EQ(f.Cfg().ReadInteger(kSpeed, 0), 300);

  OptionsWindow& again = Loaded(f);
  EXPECT_EQ(again.default_voice.voices_list.ItemIndex(), kMike);
  EXPECT_EQ(again.default_voice.speed_bar.Position(), 300);
  EXPECT_EQ(again.default_voice.speed_box.Text(), QStringLiteral("300"));

  // Numbers outside the engine's ranges land on its limits; a missing one is
  // the engine's current value.
  f.WriteCfg(
      QStringLiteral("[General]\nFirstRun=0\n[Speech]\nVoice=Mike\nSpeed=9999\n"
                     "Pitch=1\n"));
  OptionsWindow& edited = Loaded(f);
  EXPECT_EQ(edited.default_voice.speed_bar.Position(), 450);
  EXPECT_EQ(edited.default_voice.pitch_bar.Position(), 50);
  EXPECT_EQ(edited.default_voice.volume_bar.Position(), 100);
  EXPECT_EQ(edited.default_voice.speed_box.Text(), QStringLiteral("450"));
}

TEST(SpeechSettingsTest, AVoiceNoLongerInstalledFallsBackToTheFirstAndTheLoadGoesOn) {
  AppFixture f;
  f.WriteCfg(
      QStringLiteral("[General]\nFirstRun=0\nStopHotKey=32813\n[Speech]\nSAPIVersion=5\n"
                     "Voice=Gone Voice\nSpeed=330\nPitch=330\nVolume=5\n"));
  WriteFile(WordsPath(f), "colour###***###color###***###No\r\n");
  f.startup.Preset(true, QStringLiteral("/opt/voxmere/voxmere"));
  OptionsWindow& window = Loaded(f);
  EXPECT_EQ(window.default_voice.voices_list.ItemIndex(), 0);
  // The stored numbers were for another engine's voice: the stand-in keeps
  // its own values instead of sitting at the engine's limits.
  EXPECT_EQ(window.default_voice.speed_bar.Position(), 175);
  EXPECT_EQ(window.default_voice.volume_bar.Position(), 100);
  EXPECT_TRUE(f.hot_keys.IsRegistered(kAlt, kVkInsert));
  EXPECT_TRUE(window.StopHotKey().Active());
  EXPECT_TRUE(window.general.load_at_startup.Checked());
  EXPECT_FALSE(window.Flags().first_load);
  ASSERT_EQ(window.pronunciation.Table().size(), 1);
  EXPECT_EQ(window.pronunciation.Table().first().word, QStringLiteral("colour"));
}

TEST(SpeechSettingsTest, NoVoiceAtAllStopsTheLoadButSapi5VoicesAloneLoadFine) {
  {
    AppFixture f;
    f.sapi4.Modes().clear();
    BuildWithVoices(f, /*sapi5_available=*/false);
    EXPECT_THROW(f.window->LoadSettings(), Exception);
    // The load stopped before the hot keys.
    EXPECT_FALSE(f.window->DefaultHotKey().Active());
  }
  {
    // Only SAPI 5 voices and no file: the default version 4 has no SAPI 4
    // voice to take numbers from, so the first voice keeps its own.
    AppFixture f;
    f.sapi4.Modes().clear();
    BuildWithVoices(f);
    ASSERT_NO_THROW(f.window->LoadSettings());
    EXPECT_EQ(f.window->default_voice.voices_list.ItemIndex(), 0);
    EXPECT_EQ(f.window->default_voice.speed_box.Text(), QStringLiteral("135"));
    EXPECT_EQ(f.window->default_voice.volume_box.Text(), QStringLiteral("100"));
    EXPECT_TRUE(f.window->DefaultHotKey().Active());
  }
}

TEST(SaveSettingsTest, StartupCheckBoxWritesOrRemovesTheEntry) {
  AppFixture f;
  OptionsWindow& window = Loaded(f);
  window.general.load_at_startup.SetChecked(false);
  ASSERT_TRUE(window.SaveSettings());
  EXPECT_FALSE(f.startup.Exists());
  EXPECT_EQ(f.startup.Calls().last(), QStringLiteral("Remove"));

  // The program moved: checking the box again writes the path it runs from now.
  f.paths.program_path = QStringLiteral("/home/me/bin/voxmere");
  OptionsWindow& moved = Loaded(f);
  EXPECT_FALSE(moved.general.load_at_startup.Checked());
  moved.general.load_at_startup.SetChecked(true);
  ASSERT_TRUE(moved.SaveSettings());
  EXPECT_TRUE(f.startup.Exists());
  EXPECT_EQ(f.startup.ProgramPath(), QStringLiteral("/home/me/bin/voxmere"));

  // An entry that cannot be written stops the save before the words file.
  f.startup.FailWrites(true);
  ASSERT_TRUE(QFile::remove(WordsPath(f)));
  EXPECT_FALSE(moved.SaveSettings());
  EXPECT_FALSE(QFile::exists(WordsPath(f)));
}

TEST(SaveSettingsTest, SaveWritesEveryGeneralValueAndTidiesTheFile) {
  AppFixture f;
  f.WriteCfg(
      QStringLiteral("\n[General]\n\nFirstRun=0\n \nCloseMsg=1\n\n\n[Pronunciation]\n"
                     "\n[Speech]\nVoice=Mary\n[Extra]\nKept=yes\n"));
  OptionsWindow& window = Loaded(f);
  window.general.reading_key_field.SetText(QStringLiteral("Shift+Ctrl+Alt+A"));
  window.general.minimize_to_tray.SetChecked(false);
  window.pronunciation.use_corrections.SetChecked(true);
  window.pronunciation.ignored_characters.SetText(QStringLiteral("=;"));
  ASSERT_TRUE(window.SaveSettings());

  const CfgFile cfg = f.Cfg();
  EXPECT_EQ(cfg.ReadInteger(kHotKey), 0xE041);
  EXPECT_EQ(cfg.ReadInteger(kOptHotKey), 16506);
  EXPECT_FALSE(cfg.ReadBool(kMinimizeToTray));
  EXPECT_TRUE(cfg.ReadBool(kWordsCorrections));
  EXPECT_FALSE(cfg.ReadBool(kIgnoreCharacters));
  EXPECT_EQ(cfg.ReadString(kIgnoredCharacters), QStringLiteral("=;"));
  EXPECT_TRUE(cfg.ReadBool(kCloseMsg));
  EXPECT_EQ(cfg.File().ReadString(u"Extra", u"Kept", QString()), QStringLiteral("yes"));
  EXPECT_TRUE(QFile::exists(WordsPath(f)));

  // Only a lone CR may stand between lines, and only right before a header.
  const QStringList lines = f.ReadCfg().split(QLatin1Char('\n'));
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_TRUE(lines.last().isEmpty());  // the final line end
  int separators = 0;
  for (int i = 0; i + 1 < lines.size(); ++i) {
    const QString& line = lines[i];
    EXPECT_FALSE(line.isEmpty() || line == QStringLiteral(" ")) << "line " << i;
    if (line == QStringLiteral("\r")) {
      ++separators;
      EXPECT_TRUE(lines[i + 1].startsWith(QLatin1Char('['))) << "line " << i;
    }
  }
  EXPECT_GT(separators, 0);
}

TEST(SaveSettingsTest, DirectSelectionIsStoredOnceTurnedOnAndLoadsBack) {
  AppFixture f;
  OptionsWindow& window = Loaded(f);
  EXPECT_FALSE(window.general.primary_selection.Checked());
  // Off and never on: the file gets no key of ours.
  ASSERT_TRUE(window.SaveSettings());
  EXPECT_FALSE(f.Cfg().TryReadString(kPrimarySelection).has_value());

  for (const bool on : {true, false}) {
    window.general.primary_selection.SetChecked(on);
    ASSERT_TRUE(window.SaveSettings());
    EXPECT_EQ(f.Cfg().TryReadString(kPrimarySelection), on ? "1" : "0");
    window.general.primary_selection.SetChecked(!on);
    window.LoadSettings();
    EXPECT_EQ(window.general.primary_selection.Checked(), on);
  }
}

TEST(SaveSettingsTest, FailuresStopTheSaveSilentlyAndWriteNothingAfterThem) {
  AppFixture f;
  OptionsWindow& window = Loaded(f);
  window.general.reading_key_field.SetText(QStringLiteral("Alt+Ins"));
  window.general.load_at_startup.SetChecked(false);
  window.default_voice.voices_list.SetItemIndex(-1);
  const int startup_calls = static_cast<int>(f.startup.Calls().size());
  EXPECT_FALSE(window.SaveSettings());
  // What came before the voice is written; the voice and everything after
  // it are not.
  EXPECT_EQ(f.Cfg().ReadInteger(kHotKey), 32813);
  EXPECT_FALSE(f.Cfg().TryReadString(kVoice).has_value());
  EXPECT_FALSE(f.Cfg().TryReadString(kSpeed).has_value());
  EXPECT_EQ(f.startup.Calls().size(), startup_calls);
  EXPECT_TRUE(f.startup.Exists());
  EXPECT_FALSE(QFile::exists(WordsPath(f)));
  EXPECT_TRUE(f.messages.Boxes().empty());

  // A settings file that cannot be written: the same silent stop.
  window.default_voice.voices_list.SetItemIndex(0);
  ASSERT_TRUE(QFile::remove(f.CfgPath()));
  ASSERT_TRUE(QDir(f.folder.path()).mkdir(QStringLiteral("cfg.ini")));
  EXPECT_FALSE(window.SaveSettings());
  EXPECT_EQ(f.startup.Calls().size(), startup_calls);
  EXPECT_FALSE(QFile::exists(WordsPath(f)));
}

TEST(PlacementTest, StoredAfterTheFirstLoadAndRestoredAtTheSameScale) {
  AppFixture f;
  {
    // Before any load there is no placement to keep.
    BuildWithVoices(f);
    ASSERT_TRUE(f.window->SaveSettings());
    EXPECT_FALSE(f.ReadCfg().contains(QStringLiteral("[Options_window]")));
  }
  OptionsWindow& window = Loaded(f);
  f.shell.MoveTo(QPoint(100, 50));
  f.shell.active_control = QStringLiteral("Speed_Bar");
  ASSERT_TRUE(window.SaveSettings());
  const QString text = f.ReadCfg();
  for (const char* line : {"FormVersion=0\n", "Flags=0\n", "ShowCmd=1\n", "PixelsPerInch=96\n",
                           "MinMaxPos(1280x1024)=-1,-1,-1,-1\n", "MinMaxPos=-1,-1,-1,-1\n",
                           "NormPos(1280x1024)=100,50,511,355\n", "NormPos=100,50,511,355\n",
                           "Visible=0\n", "ActiveControl=Speed_Bar\n"}) {
    EXPECT_TRUE(text.contains(QLatin1String(line))) << line;
  }
  f.shell.SetMinimized(true);
  ASSERT_TRUE(window.SaveSettings());
  EXPECT_EQ(f.Cfg().ReadInteger(kShowCmd, 0), 2);

  // A restart: the window goes back there, once per run.
  Restart(f);
  OptionsWindow& again = Loaded(f);
  EXPECT_EQ(f.shell.calls, (QStringList{QStringLiteral("MoveTo(100,50)"),
                                        QStringLiteral("FocusControl(Speed_Bar)")}));
  EXPECT_EQ(f.shell.active_control, QStringLiteral("Speed_Bar"));
  again.LoadSettings();
  EXPECT_EQ(f.shell.calls.size(), 2);

  // The position stored for this screen size wins over the plain one.
  f.Cfg().File().WriteString(u"Options_window", u"NormPos(1280x1024)", u"7,8,418,313");
  Restart(f);
  Loaded(f);
  EXPECT_EQ(f.shell.moved_to, QPoint(7, 8));

  // Another scale: the stored position would be wrong, the focus is not.
  f.screen.screen.pixels_per_inch = 120;
  Restart(f);
  Loaded(f);
  EXPECT_EQ(f.shell.CountOf(QStringLiteral("MoveTo(7,8)")), 0);
  EXPECT_EQ(f.shell.moved_to, QPoint(-1, -1));
  EXPECT_EQ(f.shell.CountOf(QStringLiteral("FocusControl(Speed_Bar)")), 1);
}

}  // namespace
}  // namespace voxmere
