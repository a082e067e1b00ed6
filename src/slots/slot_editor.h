// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "controls/text_field.h"
#include "controls/track_bar.h"
#include "platform/help_viewer.h"
#include "platform/key_names.h"
#include "platform/message_boxes.h"
#include "reading/global_hot_key.h"
#include "reading/hot_key_field.h"
#include "slots/slots_page.h"
#include "slots/voice_slot_store.h"
#include "speech/sapi4_voice.h"
#include "speech/sapi5_voice.h"
#include "speech/voices_list.h"

namespace voxmere {

// The modal "Add voice slot" / "Edit voice slot" dialog's model: a copy of
// the voice catalogue, the slot's hot key, speed, pitch and volume with their
// number boxes, and the handlers of its buttons. Saves through the store.
class SlotEditor : public QObject {
  Q_OBJECT

 public:
  enum class Mode { kAdd, kEdit };

  // What the editor works on. The three program hot keys are the ones in
  // force; the editor switches them off while it is shown.
  struct Parts {
    Sapi4Voice& sapi4;
    Sapi5Voice& sapi5;
    const VoicesList& catalogue;
    VoiceSlotStore& store;
    SlotsPage& page;
    MessageBoxes& messages;
    HelpViewer& help;
    const KeyNames& key_names;
    GlobalHotKey& reading_key;
    GlobalHotKey& stop_key;
    GlobalHotKey& options_key;
  };

  static const QString& DuplicateKeyMessage();

  explicit SlotEditor(Parts parts, QObject* parent = nullptr);

  ::voxmere::VoicesList voices_list;
  HotKeyField hot_key_field;
  TrackBar speed_bar{QStringLiteral("Speed_Bar"), -10, 10, 0, 1};
  TrackBar pitch_bar{QStringLiteral("Pitch_Bar"), -10, 10, 0, 1};
  TrackBar volume_bar{QStringLiteral("Volume_Bar"), 0, 100, 0, 10};
  TextField speed_box{QStringLiteral("Edit1"), QStringLiteral("0"), 0, true};
  TextField pitch_box{QStringLiteral("Edit2"), QStringLiteral("0"), 0, true};
  TextField volume_box{QStringLiteral("Edit3"), QStringLiteral("0"), 0, true};

  Mode EditMode() const { return mode_; }
  QString Caption() const;        // "Add voice slot" / "Edit voice slot"
  QString ActionCaption() const;  // "Add slot" / "Save changes"
  // True while the chosen voice is a SAPI 5 voice: the speed and pitch boxes
  // then show 15 * position + 180.
  bool Sapi5Scale() const { return sapi5_scale_; }

  // Prepare the dialog, then ask the view to show it (OpenRequested). A stored
  // number that is no integer throws before anything is shown.
  void OpenForAdding();
  void OpenForEditing(int slot);

  // The voice-choice rule for entry `entry` of the list.
  void VoiceChosen(int entry);
  void SpeedBarMoved();
  void PitchBarMoved();
  void VolumeBarMoved();

  // The action button: the checks, then the save and the close.
  void ActionClicked();
  void TestClicked();
  void HelpRequested();
  // The dialog became visible / was hidden: every hot key of the program is
  // switched off / on again, slot hot keys first, then reading, stop, options.
  void Shown();
  void Hidden();

 signals:
  void OpenRequested();
  void CloseRequested();

 private:
  void Open(Mode mode);
  void ChooseSapi5Voice(const VoiceSlot* row);
  void ChooseSapi4Voice(int entry, const VoiceSlot* row);
  // The slots page's selected row, or null.
  const VoiceSlot* SelectedRow() const;
  // False (after the warning) when a check fails.
  bool InputAccepted();
  void SwitchHotKeys(bool active);

  Parts parts_;
  Mode mode_ = Mode::kAdd;
  int edited_slot_ = -1;
  bool sapi5_scale_ = false;
};

}  // namespace voxmere
