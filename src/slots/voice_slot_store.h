// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/key_names.h"
#include "reading/global_hot_key.h"
#include "slots/voice_slot.h"

namespace voxmere {

// slots.ini and the slot table built from it, with one system-wide hot key per
// slot. The file is the master copy: every change is written to the file
// first, then the table and the hot keys are rebuilt from it.
class VoiceSlotStore : public QObject {
  Q_OBJECT

 public:
  // Called with the slot number when a slot's hot key is pressed.
  using SlotPressed = std::function<void(int slot)>;

  VoiceSlotStore(QString path, HotKeyOwner& owner, const KeyNames& key_names, SlotPressed on_press);
  ~VoiceSlotStore() override;

  const QString& Path() const { return path_; }
  const std::vector<VoiceSlot>& Slots() const { return slots_; }
  // The hot key of slot n ("SlotHotKey_n"), or null when there is none.
  GlobalHotKey* SlotHotKey(int n) const;
  int SlotHotKeyCount() const { return static_cast<int>(hot_keys_.size()); }

  // Rebuilds the table and the slot hot keys from the file: loading stops at
  // the first slot number whose section is absent or holds no key.
  void LoadVoiceSlots();

  // Writes slot n (creating the file and section as needed), rebuilds, and
  // tidies the file. The voice list entry is stored without " (SAPI5)".
  void SaveSlot(int n, const QString& list_entry, int sapi_version, ShortCut hot_key, int speed,
                int pitch, int volume);

  // The smallest n whose section is absent from the file.
  int FirstFreeSlotNumber() const;

  // Removes slot n from the table and the file and moves the later sections
  // down by one. Does not rebuild: the caller rebuilds once after its last
  // deletion. The new file is computed whole and written once, so a failure
  // never leaves it half renumbered. The last slot's deletion removes the file.
  void DeleteVoiceSlot(int n);

  // Empties the table, removes the file (a failure to remove it passes
  // silently) and rebuilds.
  void RemoveAllSlots();

  // Switches every slot hot key off and destroys it; the table stays as it
  // is. The program's clean-up at its end.
  void ReleaseHotKeys();

 signals:
  // The table was rebuilt or changed.
  void SlotsChanged();

 private:
  void DiscardHotKeys();
  // The part of LoadVoiceSlots after the table has been emptied.
  void ReadSlotsAndRegister();

  QString path_;
  HotKeyOwner& owner_;
  const KeyNames& key_names_;
  SlotPressed on_press_;
  std::vector<VoiceSlot> slots_;
  std::vector<std::unique_ptr<GlobalHotKey>> hot_keys_;
};

}  // namespace voxmere
