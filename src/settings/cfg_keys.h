// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <variant>

#include "settings/ini_file.h"

namespace voxmere {

enum class CfgType { kBool, kInteger, kString };

// No fixed default: the value depends on the voice list or the screen, so the
// caller supplies it.
using CfgNoDefault = std::monostate;
using CfgDefault = std::variant<CfgNoDefault, bool, int, QStringView>;

// One key of cfg.ini with its type and the default that applies when the
// file, the section or the key is missing (or a number is not a number).
struct CfgKey {
  QStringView section;
  QStringView key;
  CfgType type;
  CfgDefault default_value;
};

inline constexpr QStringView kCfgGeneral = u"General";
inline constexpr QStringView kCfgPronunciation = u"Pronunciation";
inline constexpr QStringView kCfgSpeech = u"Speech";
inline constexpr QStringView kCfgOptionsWindow = u"Options_window";

// Hot keys are ShortCut codes stored as decimal integers: 16392 Ctrl+Backspace,
// 16506 Ctrl+F11, 16507 Ctrl+F12.
inline constexpr CfgKey kFirstRun{kCfgGeneral, u"FirstRun", CfgType::kBool, true};
inline constexpr CfgKey kHotKey{kCfgGeneral, u"HotKey", CfgType::kInteger, 16392};
inline constexpr CfgKey kOptHotKey{kCfgGeneral, u"OptHotKey", CfgType::kInteger, 16506};
inline constexpr CfgKey kStopHotKey{kCfgGeneral, u"StopHotKey", CfgType::kInteger, 16507};
inline constexpr CfgKey kMinimizeToTray{kCfgGeneral, u"MinimizeToTray", CfgType::kBool, true};
inline constexpr CfgKey kWelcomeDlg{kCfgGeneral, u"WelcomeDlg", CfgType::kBool, false};
inline constexpr CfgKey kCloseMsg{kCfgGeneral, u"CloseMsg", CfgType::kBool, false};
// Ours alone (the Windows program has no such option and ignores the key):
// readings take the screen's selection directly instead of copying it.
inline constexpr CfgKey kPrimarySelection{kCfgGeneral, u"PrimarySelection", CfgType::kBool, false};

inline constexpr CfgKey kIgnoreCharacters{kCfgPronunciation, u"IgnoreCharacters", CfgType::kBool,
                                          false};
inline constexpr CfgKey kIgnoredCharacters{kCfgPronunciation, u"IgnoredCharacters",
                                           CfgType::kString, QStringView(u"*\\/\"`_~")};
inline constexpr CfgKey kWordsCorrections{kCfgPronunciation, u"WordsCorrections", CfgType::kBool,
                                          false};

inline constexpr CfgKey kSAPIVersion{kCfgSpeech, u"SAPIVersion", CfgType::kInteger, 4};
// Default: the first entry of the voice list.
inline constexpr CfgKey kVoice{kCfgSpeech, u"Voice", CfgType::kString, CfgNoDefault{}};
// Defaults depend on the engine of the stored voice.
inline constexpr CfgKey kSpeed{kCfgSpeech, u"Speed", CfgType::kInteger, CfgNoDefault{}};
inline constexpr CfgKey kPitch{kCfgSpeech, u"Pitch", CfgType::kInteger, CfgNoDefault{}};
inline constexpr CfgKey kVolume{kCfgSpeech, u"Volume", CfgType::kInteger, CfgNoDefault{}};

// The options window's stored placement. MinMaxPos and NormPos are written
// twice: under the plain name and under the name with the screen size
// (PlacementKeyForScreen).
inline constexpr CfgKey kFormVersion{kCfgOptionsWindow, u"FormVersion", CfgType::kInteger, 0};
inline constexpr CfgKey kPlacementFlags{kCfgOptionsWindow, u"Flags", CfgType::kInteger,
                                        CfgNoDefault{}};
inline constexpr CfgKey kShowCmd{kCfgOptionsWindow, u"ShowCmd", CfgType::kInteger, CfgNoDefault{}};
// Default: the screen's current pixels per inch.
inline constexpr CfgKey kPixelsPerInch{kCfgOptionsWindow, u"PixelsPerInch", CfgType::kInteger,
                                       CfgNoDefault{}};
inline constexpr CfgKey kMinMaxPos{kCfgOptionsWindow, u"MinMaxPos", CfgType::kString,
                                   CfgNoDefault{}};
inline constexpr CfgKey kNormPos{kCfgOptionsWindow, u"NormPos", CfgType::kString, CfgNoDefault{}};
inline constexpr CfgKey kVisible{kCfgOptionsWindow, u"Visible", CfgType::kBool, false};
inline constexpr CfgKey kActiveControl{kCfgOptionsWindow, u"ActiveControl", CfgType::kString,
                                       CfgNoDefault{}};

// "MinMaxPos(1024x768)": the key name with the screen size appended.
QString PlacementKeyForScreen(QStringView key, int screen_width, int screen_height);

// cfg.ini by its path, read through the key table. Each read opens the file.
class CfgFile {
 public:
  explicit CfgFile(QString path) : file_(std::move(path)) {}

  const QString& Path() const { return file_.Path(); }
  const IniFile& File() const { return file_; }

  // The table's default applies. Asking for a key without a fixed default
  // here is a programming error and raises an Exception; use the overloads
  // with a fallback for those.
  bool ReadBool(const CfgKey& key) const;
  int ReadInteger(const CfgKey& key) const;
  QString ReadString(const CfgKey& key) const;
  int ReadInteger(const CfgKey& key, int fallback) const;
  QString ReadString(const CfgKey& key, const QString& fallback) const;
  // The stored value, or none when missing (or not a number).
  std::optional<int> TryReadInteger(const CfgKey& key) const;
  std::optional<QString> TryReadString(const CfgKey& key) const;

  // A hot key is used by the low 16 bits of the stored integer.
  quint16 ReadHotKey(const CfgKey& key) const;

  // The one-time flags, each written at once when its message has been shown
  // (WelcomeDlg has no caller yet).
  void WriteCloseMsg() const;
  void WriteWelcomeDlg() const;

 private:
  IniFile file_;
};

}  // namespace voxmere
