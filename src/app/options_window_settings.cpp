// SPDX-License-Identifier: GPL-3.0-or-later
// Moving the settings between cfg.ini (and the start-up entry) and the
// options window's controls, which are the working copy of the settings.
#include <optional>

#include "app/app_log.h"
#include "app/options_window.h"
#include "platform/exception.h"
#include "settings/cfg_keys.h"
#include "settings/ini_file.h"
#include "settings/ini_value.h"
#include "settings/window_placement.h"
#include "speech/value_scales.h"
#include "speech/voice_catalogue.h"
#include "speech/voice_name.h"

namespace voxmere {
namespace {

void WriteInteger(const CfgFile& cfg, const CfgKey& key, int value) {
  cfg.File().WriteInteger(key.section, key.key, value);
}

void WriteBool(const CfgFile& cfg, const CfgKey& key, bool value) {
  cfg.File().WriteBool(key.section, key.key, value);
}

void WriteString(const CfgFile& cfg, const CfgKey& key, const QString& value) {
  cfg.File().WriteString(key.section, key.key, value);
}

// A placement value stored under the name with the screen size, else under
// the plain name; none when neither holds four numbers.
std::optional<PlacementNumbers> ReadPlacementNumbers(const CfgFile& cfg, const CfgKey& key,
                                                     QSize screen) {
  const QString sized = PlacementKeyForScreen(key.key, screen.width(), screen.height());
  for (const QString& name : {sized, key.key.toString()}) {
    if (const std::optional<QString> text = cfg.File().ReadValue(key.section, name)) {
      if (std::optional<PlacementNumbers> numbers = ParsePlacementNumbers(*text)) return numbers;
    }
  }
  return std::nullopt;
}

void WritePlacementNumbers(const CfgFile& cfg, const CfgKey& key, QSize screen,
                           const QString& value) {
  cfg.File().WriteString(key.section,
                         PlacementKeyForScreen(key.key, screen.width(), screen.height()), value);
  cfg.File().WriteString(key.section, key.key, value);
}

// The number a box beside a bar shows, read back as an integer; the boxes
// are read-only and always hold one, so anything else is a broken page.
int NumberOfBox(const TextField& box) { return StoredInteger(box.Text()); }

}  // namespace

void OptionsWindow::LoadSettings() {
  const CfgFile cfg(CfgPath());

  flags_.first_run_at_start = cfg.ReadBool(kFirstRun);
  if (flags_.first_run_at_start) {
    // Like the Windows program, which writes the entry only when it can open
    // the key: an entry that cannot be written must not stop the first start
    // (the start-up check box then shows it missing).
    try {
      platform_.startup_entry.Write(paths_.program_path);
    } catch (const Exception& error) {
      qCWarning(AppLog, "The start-up entry of the first start was not written: %s",
                qUtf8Printable(error.Message()));
    }
    WriteBool(cfg, kFirstRun, false);
  }

  ReadMainHotKeys(cfg);
  general.minimize_to_tray.SetChecked(cfg.ReadBool(kMinimizeToTray));
  general.primary_selection.SetChecked(cfg.ReadBool(kPrimarySelection));
  if (!cfg.ReadBool(kWelcomeDlg)) flags_.show_welcome = true;

  pronunciation.ignore_characters.SetChecked(cfg.ReadBool(kIgnoreCharacters));
  pronunciation.ignored_characters.SetText(cfg.ReadString(kIgnoredCharacters));
  pronunciation.use_corrections.SetChecked(cfg.ReadBool(kWordsCorrections));

  VoicesList& voices = default_voice.voices_list;
  if (voices.Count() == 0) {
    // No engine offers a voice: there is no default voice to select. At
    // start-up this ends the program.
    throw Exception(QStringLiteral("List index out of bounds (0): there is no voice to select."));
  }
  const std::optional<QString> stored_voice = cfg.TryReadString(kVoice);
  int index = FindStoredVoice(voices, stored_voice.value_or(voices.Items().first()),
                              cfg.ReadInteger(kSAPIVersion));
  // A stored voice that is no longer installed (or a hand-edited name) would
  // leave the list without a selection, and the page cannot work with none:
  // the first voice stands in, as when no voice is stored at all, and the
  // rest of the settings load as usual.
  if (index < 0) index = 0;
  voices.SetItemIndex(index);
  // Directly, not as a selection change: after a page switch the page
  // ignores those, and the bars would keep the previous voice's scale.
  default_voice.ShowVoice(index);

  // The stored numbers are in the scale of the stored engine. When the voice
  // now selected belongs to the other engine (only after the stand-in above
  // or a hand edit) they would land on the wrong scale, so the bars then stay
  // where the selection put them.
  const int version = cfg.ReadInteger(kSAPIVersion);
  const bool sapi4_entry = default_voice.IsSapi4Entry(index);
  if (version == 4 && sapi4_entry) {
    // Defaults: the engine's own values for the voice just selected; read
    // only when needed, since reading them needs a working engine.
    const std::optional<int> speed = cfg.TryReadInteger(kSpeed);
    default_voice.speed_bar.SetPosition(speed ? *speed : static_cast<int>(sapi4_->Speed()));
    const std::optional<int> pitch = cfg.TryReadInteger(kPitch);
    default_voice.pitch_bar.SetPosition(pitch ? *pitch : static_cast<int>(sapi4_->Pitch()));
    const std::optional<int> volume = cfg.TryReadInteger(kVolume);
    default_voice.volume_bar.SetPosition(volume ? *volume : static_cast<int>(sapi4_->Volume()));
  } else if (version == 5 && !sapi4_entry) {
    // Speed -2 and pitch -3 give position -12: the bars' lowest.
    default_voice.speed_bar.SetPosition(Sapi5EngineValueFromNumber(cfg.ReadInteger(kSpeed, -2)));
    default_voice.pitch_bar.SetPosition(Sapi5EngineValueFromNumber(cfg.ReadInteger(kPitch, -3)));
    default_voice.volume_bar.SetPosition(cfg.ReadInteger(kVolume, 100));
  }
  default_voice.SpeedBarMoved();
  default_voice.PitchBarMoved();
  default_voice.VolumeBarMoved();

  ApplyMainHotKeys();
  general.load_at_startup.SetChecked(platform_.startup_entry.Exists());

  if (flags_.first_load) {
    RestorePlacement(cfg);
    flags_.first_load = false;
  }
  pronunciation.RestoreWords(WordsPath());
}

void OptionsWindow::ReadMainHotKeys(const CfgFile& cfg) {
  general.reading_key_field.SetShortcut(cfg.ReadHotKey(kHotKey));
  general.options_key_field.SetShortcut(cfg.ReadHotKey(kOptHotKey));
  general.stop_key_field.SetShortcut(cfg.ReadHotKey(kStopHotKey));
}

void OptionsWindow::GrabStoredHotKeys() {
  ReadMainHotKeys(CfgFile(CfgPath()));
  ApplyMainHotKeys();
}

void OptionsWindow::ApplyMainHotKeys() {
  default_hot_key_.SetHotKey(general.reading_key_field.Shortcut());
  options_hot_key_.SetHotKey(general.options_key_field.Shortcut());
  stop_hot_key_.SetHotKey(general.stop_key_field.Shortcut());
  default_hot_key_.SetActive(true);
  options_hot_key_.SetActive(true);
  stop_hot_key_.SetActive(true);
}

void OptionsWindow::RestorePlacement(const CfgFile& cfg) {
  if (cfg.ReadInteger(kFormVersion) < 0) return;
  const PrimaryScreen screen = platform_.screen.Primary();
  WindowPlacement placement = shell_ ? shell_->Placement() : WindowPlacement{};
  placement.flags = cfg.ReadInteger(kPlacementFlags, placement.flags);
  const std::optional<PlacementNumbers> min_max =
      ReadPlacementNumbers(cfg, kMinMaxPos, screen.size);
  if (min_max) {
    placement.min_position = QPoint(min_max->a, min_max->b);
    placement.max_position = QPoint(min_max->c, min_max->d);
  }
  const std::optional<PlacementNumbers> normal = ReadPlacementNumbers(cfg, kNormPos, screen.size);
  if (normal) {
    placement.left = normal->a;
    placement.top = normal->b;
    placement.right = normal->c;
    placement.bottom = normal->d;
  }
  const int pixels_per_inch = cfg.ReadInteger(kPixelsPerInch, screen.pixels_per_inch);
  // A position stored at another scale would put the window elsewhere than
  // the user left it; such a position is not used.
  if (shell_ && (min_max || normal) && pixels_per_inch == screen.pixels_per_inch) {
    // The window is not resizable: only the stored top left corner counts.
    const QSize frame = shell_->FrameSize();
    placement.right = placement.left + frame.width();
    placement.bottom = placement.top + frame.height();
    if (placement.left < placement.right) shell_->MoveTo(QPoint(placement.left, placement.top));
  }
  const QString active_control = cfg.ReadString(kActiveControl, QString());
  if (shell_ && !active_control.isEmpty()) shell_->FocusControl(active_control);
}

void OptionsWindow::SavePlacement(const CfgFile& cfg) {
  // Without a window there is no placement to keep.
  if (!shell_) return;
  const WindowPlacement placement = shell_->Placement();
  const PrimaryScreen screen = platform_.screen.Primary();
  WriteInteger(cfg, kFormVersion, 0);
  WriteInteger(cfg, kPlacementFlags, placement.flags);
  WriteInteger(cfg, kShowCmd, shell_->Minimized() ? 2 : placement.show_cmd);
  WriteInteger(cfg, kPixelsPerInch, screen.pixels_per_inch);
  WritePlacementNumbers(
      cfg, kMinMaxPos, screen.size,
      FormatPlacementNumbers(placement.min_position.x(), placement.min_position.y(),
                             placement.max_position.x(), placement.max_position.y()));
  WritePlacementNumbers(
      cfg, kNormPos, screen.size,
      FormatPlacementNumbers(placement.left, placement.top, placement.right, placement.bottom));
  WriteBool(cfg, kVisible, false);
  const QString active_control = shell_->ActiveControl();
  if (!active_control.isEmpty()) WriteString(cfg, kActiveControl, active_control);
}

bool OptionsWindow::SaveSettings() {
  const CfgFile cfg(CfgPath());
  // A failed write (or no voice selected) stops the save without a word; the
  // OK or close that asked for it stops too.
  try {
    // One save for all of it: a crash or a kill part-way leaves the old file.
    cfg.File().BeginBatch();
    // The placement belongs to the file only once a load has restored it.
    if (!flags_.first_load) SavePlacement(cfg);

    WriteInteger(cfg, kHotKey, general.reading_key_field.Shortcut());
    WriteInteger(cfg, kOptHotKey, general.options_key_field.Shortcut());
    WriteInteger(cfg, kStopHotKey, general.stop_key_field.Shortcut());
    WriteBool(cfg, kMinimizeToTray, general.minimize_to_tray.Checked());
    // A key of ours only: files that never had the option on stay as the
    // Windows program writes them (an extra line shifts the blank lines its
    // tidying puts between the sections).
    if (general.primary_selection.Checked() || cfg.TryReadString(kPrimarySelection)) {
      WriteBool(cfg, kPrimarySelection, general.primary_selection.Checked());
    }
    WriteBool(cfg, kIgnoreCharacters, pronunciation.ignore_characters.Checked());
    WriteString(cfg, kIgnoredCharacters, pronunciation.ignored_characters.Text());
    WriteBool(cfg, kWordsCorrections, pronunciation.use_corrections.Checked());

    const VoicesList& voices = default_voice.voices_list;
    const int index = voices.ItemIndex();
    if (index < 0 || index >= voices.Count()) {
      // The values set so far are kept, as when each was its own write.
      cfg.File().CommitBatch();
      qCWarning(AppLog, "The settings were not saved: no default voice is selected");
      return false;
    }
    WriteString(cfg, kVoice, StoredVoiceName(voices.Items().at(index)));
    WriteInteger(cfg, kSpeed, NumberOfBox(default_voice.speed_box));
    WriteInteger(cfg, kPitch, NumberOfBox(default_voice.pitch_box));
    WriteInteger(cfg, kVolume, NumberOfBox(default_voice.volume_box));
    WriteInteger(cfg, kSAPIVersion, default_voice.IsSapi4Entry(index) ? 4 : 5);
    cfg.File().TidyBatch();
    cfg.File().CommitBatch();
  } catch (const Exception& error) {
    qCWarning(AppLog, "The settings were not saved: %s", qUtf8Printable(error.Message()));
    return false;
  }

  try {
    if (general.load_at_startup.Checked()) {
      platform_.startup_entry.Write(paths_.program_path);
    } else {
      platform_.startup_entry.Remove();
    }
  } catch (const Exception& error) {
    qCWarning(AppLog, "The settings were saved, but not the start-up entry: %s",
              qUtf8Printable(error.Message()));
    return false;
  }

  pronunciation.SaveWords(WordsPath());
  return true;
}

}  // namespace voxmere
