// SPDX-License-Identifier: GPL-3.0-or-later
#include "slots/slot_editor.h"

#include <QtGlobal>
#include <climits>
#include <cstdint>

#include "platform/exception.h"
#include "settings/ini_value.h"
#include "speech/default_voice_page.h"
#include "speech/sapi4_requests.h"
#include "speech/sapi5_requests.h"
#include "speech/value_scales.h"
#include "speech/voice_catalogue.h"

namespace voxmere {
namespace {

// A SAPI 5 voice chosen with no slot row selected starts at speed -2,
// pitch -5 and full volume (shown as 150, 105 and 100).
constexpr int kSapi5SpeedPosition = -2;
constexpr int kSapi5PitchPosition = -5;
constexpr int kFullVolume = 100;
constexpr int kSapi5BarMin = -10;
constexpr int kSapi5BarMax = 10;

int EngineBarValue(std::uint32_t engine_value) {
  return static_cast<int>(qMin<std::uint32_t>(engine_value, INT_MAX));
}

}  // namespace

const QString& SlotEditor::DuplicateKeyMessage() {
  static const QString text = QStringLiteral(
      "Sorry, but this hot key is already set for other slot! Please, enter some different one.");
  return text;
}

SlotEditor::SlotEditor(Parts parts, QObject* parent)
    : QObject(parent),
      hot_key_field(parts.key_names, QStringLiteral("Slot_HotKey")),
      parts_(parts) {
  setObjectName(QStringLiteral("frmSlot"));
  voices_list.setObjectName(QStringLiteral("VoicesList"));
  connect(&speed_bar, &TrackBar::Changed, this, [this] { SpeedBarMoved(); });
  connect(&pitch_bar, &TrackBar::Changed, this, [this] { PitchBarMoved(); });
  connect(&volume_bar, &TrackBar::Changed, this, [this] { VolumeBarMoved(); });
  connect(&voices_list, &::voxmere::VoicesList::Change, this,
          [this](int, int current) { VoiceChosen(current); });
}

QString SlotEditor::Caption() const {
  return mode_ == Mode::kAdd ? QStringLiteral("Add voice slot") : QStringLiteral("Edit voice slot");
}

QString SlotEditor::ActionCaption() const {
  return mode_ == Mode::kAdd ? QStringLiteral("Add slot") : QStringLiteral("Save changes");
}

void SlotEditor::Open(Mode mode) {
  mode_ = mode;
  voices_list.Clear();
  voices_list.AddStrings(parts_.catalogue.Items());
}

void SlotEditor::OpenForAdding() {
  Open(Mode::kAdd);
  edited_slot_ = -1;
  voices_list.SetItemIndex(0);
  if (voices_list.ItemIndex() == 0) VoiceChosen(0);
  hot_key_field.SetShortcut(0);
  emit OpenRequested();
}

void SlotEditor::OpenForEditing(int slot) {
  const auto& stored_slots = parts_.store.Slots();
  if (slot < 0 || slot >= static_cast<int>(stored_slots.size())) {
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(slot));
  }
  Open(Mode::kEdit);
  edited_slot_ = slot;
  const VoiceSlot& stored = stored_slots[static_cast<std::size_t>(slot)];
  voices_list.SetItemIndex(FindStoredVoice(voices_list, stored.voice, stored.sapi_version));
  hot_key_field.SetShortcut(stored.hot_key);
  // A voice that is not in the catalogue leaves the list without a choice and
  // the bars as they are; saving then asks for a voice.
  if (voices_list.ItemIndex() >= 0) VoiceChosen(voices_list.ItemIndex());
  emit OpenRequested();
}

const VoiceSlot* SlotEditor::SelectedRow() const {
  const int row = mode_ == Mode::kEdit ? edited_slot_ : parts_.page.SelectedRow();
  const auto& stored_slots = parts_.store.Slots();
  if (row < 0 || row >= static_cast<int>(stored_slots.size())) return nullptr;
  return &stored_slots[static_cast<std::size_t>(row)];
}

void SlotEditor::VoiceChosen(int entry) {
  if (entry < 0 || entry >= voices_list.Count()) return;
  if (EngineOfEntry(parts_.sapi4, entry) == VoiceEngine::kSapi5) {
    ChooseSapi5Voice(SelectedRow());
  } else {
    ChooseSapi4Voice(entry, SelectedRow());
  }
}

void SlotEditor::ChooseSapi5Voice(const VoiceSlot* row) {
  // Every number is read before a bar moves: a bad one changes nothing.
  int speed = kSapi5SpeedPosition;
  int pitch = kSapi5PitchPosition;
  int volume = kFullVolume;
  if (row != nullptr) {
    speed = Sapi5EngineValueFromNumber(StoredInteger(row->speed));
    pitch = Sapi5EngineValueFromNumber(StoredInteger(row->pitch));
    volume = StoredInteger(row->volume);
  }
  sapi5_scale_ = true;
  speed_bar.SetRange(kSapi5BarMin, kSapi5BarMax);
  pitch_bar.SetRange(kSapi5BarMin, kSapi5BarMax);
  volume_bar.SetRange(0, kFullVolume);
  speed_bar.SetPosition(speed);
  pitch_bar.SetPosition(pitch);
  volume_bar.SetPosition(volume);
  // The boxes show the stored texts, not the rounded positions.
  speed_box.SetText(row != nullptr ? row->speed
                                   : QString::number(Sapi5NumberFromEngineValue(speed)));
  pitch_box.SetText(row != nullptr ? row->pitch
                                   : QString::number(Sapi5NumberFromEngineValue(pitch)));
  volume_box.SetText(row != nullptr ? row->volume : QString::number(volume));
  if (volume_bar.Position() == 0) {
    volume_bar.SetPosition(kFullVolume);
    volume_box.SetText(QString::number(kFullVolume));
  }
}

void SlotEditor::ChooseSapi4Voice(int entry, const VoiceSlot* row) {
  sapi5_scale_ = false;
  int speed = 0;
  int pitch = 0;
  int volume = 0;
  if (row != nullptr) {
    speed = StoredInteger(row->speed);
    pitch = StoredInteger(row->pitch);
    volume = StoredInteger(row->volume);
  }
  parts_.sapi4.SelectEngine(Sapi4ModeNameOfEntry(parts_.sapi4, entry));
  const Sapi4EngineInfo& info = parts_.sapi4.EngineInfo();
  speed_bar.SetRange(EngineBarValue(info.min_speed), EngineBarValue(info.max_speed));
  pitch_bar.SetRange(info.min_pitch, info.max_pitch);
  // The engine takes its volume as a percentage.
  volume_bar.SetRange(0, kFullVolume);
  if (row == nullptr) {
    speed = EngineBarValue(parts_.sapi4.Speed());
    pitch = parts_.sapi4.Pitch();
    volume = EngineBarValue(parts_.sapi4.Volume());
  }
  speed_bar.SetPosition(speed);
  pitch_bar.SetPosition(pitch);
  volume_bar.SetPosition(volume == 0 ? kFullVolume : volume);
  SpeedBarMoved();
  PitchBarMoved();
  VolumeBarMoved();
}

void SlotEditor::SpeedBarMoved() {
  const int position = speed_bar.Position();
  speed_box.SetText(
      QString::number(sapi5_scale_ ? Sapi5NumberFromEngineValue(position) : position));
}

void SlotEditor::PitchBarMoved() {
  const int position = pitch_bar.Position();
  pitch_box.SetText(
      QString::number(sapi5_scale_ ? Sapi5NumberFromEngineValue(position) : position));
}

void SlotEditor::VolumeBarMoved() { volume_box.SetText(QString::number(volume_bar.Position())); }

bool SlotEditor::InputAccepted() {
  const ShortCut code = hot_key_field.Shortcut();
  if (code == 0) {
    parts_.messages.Warning(QStringLiteral("Please, specify hot key for this slot!"), this);
    return false;
  }
  const auto& stored_slots = parts_.store.Slots();
  for (int n = 0; n < static_cast<int>(stored_slots.size()); ++n) {
    if (mode_ == Mode::kEdit && n == edited_slot_) continue;
    if (stored_slots[static_cast<std::size_t>(n)].hot_key_text == hot_key_field.Text()) {
      parts_.messages.Warning(DuplicateKeyMessage(), this);
      return false;
    }
  }
  if (code == parts_.reading_key.HotKey() || code == parts_.options_key.HotKey() ||
      code == parts_.stop_key.HotKey()) {
    parts_.messages.Warning(DuplicateKeyMessage(), this);
    return false;
  }
  if (voices_list.ItemIndex() < 0 || voices_list.ItemIndex() >= voices_list.Count()) {
    parts_.messages.Warning(QStringLiteral("Please, select voice for this slot!"), this);
    return false;
  }
  return true;
}

void SlotEditor::ActionClicked() {
  if (InputAccepted()) {
    const int entry = voices_list.ItemIndex();
    const int slot = mode_ == Mode::kAdd ? parts_.store.FirstFreeSlotNumber() : edited_slot_;
    const int version = EngineOfEntry(parts_.sapi4, entry) == VoiceEngine::kSapi5 ? 5 : 4;
    parts_.store.SaveSlot(slot, voices_list.Items()[entry], version, hot_key_field.Shortcut(),
                          StoredInteger(speed_box.Text()), StoredInteger(pitch_box.Text()),
                          volume_bar.Position());
    emit CloseRequested();
  }
  parts_.page.RequestListFocus();
}

void SlotEditor::TestClicked() {
  const int entry = voices_list.ItemIndex();
  if (entry < 0 || entry >= voices_list.Count()) return;
  if (EngineOfEntry(parts_.sapi4, entry) == VoiceEngine::kSapi4) {
    ApplySapi4Voice(parts_.sapi4, Sapi4ModeNameOfEntry(parts_.sapi4, entry),
                    static_cast<std::uint32_t>(speed_bar.Position()),
                    static_cast<std::uint16_t>(pitch_bar.Position()),
                    static_cast<std::uint32_t>(volume_bar.Position()));
    SpeakSapi4(parts_.sapi4, DefaultVoicePage::DefaultTestText());
  } else {
    ApplySapi5Voice(parts_.sapi5, Sapi5IndexOfEntry(parts_.sapi4, entry), speed_bar.Position(),
                    volume_bar.Position());
    SpeakSapi5(parts_.sapi5, pitch_bar.Position(), DefaultVoicePage::DefaultTestText(),
               PitchMarkupClose::kClosed);
  }
}

void SlotEditor::HelpRequested() { parts_.help.ShowTopic(HelpTopic::kVoiceSlots, this); }

void SlotEditor::SwitchHotKeys(bool active) {
  const int rows = static_cast<int>(parts_.store.Slots().size());
  for (int n = 0; n < rows; ++n) {
    if (GlobalHotKey* key = parts_.store.SlotHotKey(n)) key->SetActive(active);
  }
  parts_.reading_key.SetActive(active);
  parts_.stop_key.SetActive(active);
  parts_.options_key.SetActive(active);
}

void SlotEditor::Shown() { SwitchHotKeys(false); }

void SlotEditor::Hidden() {
  SwitchHotKeys(true);
  parts_.page.RequestListFocus();
}

}  // namespace voxmere
