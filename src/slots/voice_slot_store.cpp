// SPDX-License-Identifier: GPL-3.0-or-later
#include "slots/voice_slot_store.h"

#include "platform/exception.h"
#include "settings/ini_document.h"
#include "settings/settings_log.h"
#include "settings/settings_text.h"
#include "speech/voice_name.h"

namespace voxmere {
namespace {

QString SectionName(int n) { return QStringLiteral("Slot_%1").arg(n); }

}  // namespace

VoiceSlotStore::VoiceSlotStore(QString path, HotKeyOwner& owner, const KeyNames& key_names,
                               SlotPressed on_press)
    : path_(std::move(path)),
      owner_(owner),
      key_names_(key_names),
      on_press_(std::move(on_press)) {}

VoiceSlotStore::~VoiceSlotStore() { DiscardHotKeys(); }

GlobalHotKey* VoiceSlotStore::SlotHotKey(int n) const {
  if (n < 0 || n >= static_cast<int>(hot_keys_.size())) return nullptr;
  return hot_keys_[n].get();
}

void VoiceSlotStore::DiscardHotKeys() {
  // Each hot key switches itself off as it goes, so its keys can be taken again.
  hot_keys_.clear();
}

void VoiceSlotStore::ReleaseHotKeys() {
  for (const auto& hot_key : hot_keys_) hot_key->SetActive(false);
  DiscardHotKeys();
}

void VoiceSlotStore::LoadVoiceSlots() {
  DiscardHotKeys();
  slots_.clear();
  try {
    ReadSlotsAndRegister();
  } catch (...) {
    // The table has changed (it is empty or partly read) even though the
    // rebuild failed: whoever shows it must hear of it.
    emit SlotsChanged();
    throw;
  }
  emit SlotsChanged();
}

void VoiceSlotStore::ReadSlotsAndRegister() {
  const IniDocument file = IniDocument::Load(path_);
  for (int n = 0; file.HasKeys(SectionName(n)); ++n) {
    const QString section = SectionName(n);
    VoiceSlot slot;
    slot.voice = file.ReadString(section, QStringLiteral("Voice"), QString());
    slot.speed = file.ReadString(section, QStringLiteral("Speed"), QString());
    slot.pitch = file.ReadString(section, QStringLiteral("Pitch"), QString());
    slot.volume = file.ReadString(section, QStringLiteral("Volume"), QString());
    slot.sapi_version = file.ReadInteger(section, QStringLiteral("SAPIVersion"), 4);
    const auto stored =
        static_cast<ShortCut>(file.ReadInteger(section, QStringLiteral("HotKey"), 0));
    // As the hidden hot key field normalises it: formatted, parsed, formatted.
    slot.hot_key = NormaliseShortCut(stored, key_names_);
    slot.hot_key_text = ShortCutToText(slot.hot_key, key_names_);
    slots_.push_back(slot);

    auto hot_key =
        std::make_unique<GlobalHotKey>(owner_, QStringLiteral("SlotHotKey_%1").arg(n), n);
    hot_key->OnHotKey = [this](GlobalHotKey& sender) {
      if (on_press_) on_press_(sender.Tag());
    };
    hot_key->SetHotKey(slot.hot_key);
    // A code of 0 is tried like any other; the system refuses it and the slot's
    // key simply never fires.
    hot_key->SetActive(true);
    hot_keys_.push_back(std::move(hot_key));
  }
}

void VoiceSlotStore::SaveSlot(int n, const QString& list_entry, int sapi_version, ShortCut hot_key,
                              int speed, int pitch, int volume) {
  IniDocument file = IniDocument::Load(path_);
  const QString section = SectionName(n);
  file.WriteString(section, QStringLiteral("Voice"), StoredVoiceName(list_entry));
  file.WriteInteger(section, QStringLiteral("HotKey"), hot_key);
  file.WriteInteger(section, QStringLiteral("Speed"), speed);
  file.WriteInteger(section, QStringLiteral("Pitch"), pitch);
  file.WriteInteger(section, QStringLiteral("Volume"), volume);
  file.WriteInteger(section, QStringLiteral("SAPIVersion"), sapi_version);
  // Tidied before the one write rather than rewritten after the rebuild: the
  // rebuild reads values only, so the outcome is the same, and the file is
  // never left between the two states.
  file.Tidy();
  file.Save(path_);
  LoadVoiceSlots();
}

int VoiceSlotStore::FirstFreeSlotNumber() const {
  const IniDocument file = IniDocument::Load(path_);
  int n = 0;
  while (file.HasKeys(SectionName(n))) ++n;
  return n;
}

void VoiceSlotStore::DeleteVoiceSlot(int n) {
  if (n < 0 || n >= static_cast<int>(slots_.size())) {
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(n));
  }
  IniDocument file = IniDocument::Load(path_);
  const int remaining = static_cast<int>(slots_.size()) - 1;
  file.EraseSection(SectionName(n));
  for (int k = n; k < remaining; ++k) file.RenameSection(SectionName(k + 1), SectionName(k));
  file.Tidy();
  if (remaining == 0) {
    DeleteSettingsFile(path_);
  } else {
    file.Save(path_);
  }
  // The table follows the file only once the file is written.
  slots_.erase(slots_.begin() + n);
  emit SlotsChanged();
}

void VoiceSlotStore::RemoveAllSlots() {
  slots_.clear();
  try {
    DeleteSettingsFile(path_);
  } catch (const Exception& error) {
    // The outcome of the removal is ignored: a file that cannot be removed
    // simply comes back with the rebuild below.
    qCWarning(SettingsLog, "The voice slots were not removed: %s", qUtf8Printable(error.Message()));
  }
  LoadVoiceSlots();
}

}  // namespace voxmere
