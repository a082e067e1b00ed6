// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "controls/text_field.h"
#include "controls/track_bar.h"
#include "speech/sapi4_voice.h"
#include "speech/sapi5_voice.h"
#include "speech/voices_list.h"

namespace voxmere {

// How the number boxes show the bar positions: SAPI 5 while the page shows a
// SAPI 5 voice (15 * position + 180 for speed and pitch), else the positions
// themselves.
enum class PageScaleMode { kSapi4, kSapi5 };

// The "Default voice" page of the options window: the voice list, the three
// bars with their number boxes and the test box. Its controls are the live
// default voice: readings and tests apply them through SelectDefaultVoice at
// the moment they speak.
class DefaultVoicePage : public QObject {
  Q_OBJECT

 public:
  // The page-switch marker's value while the options window has switched
  // pages since the list was last clicked.
  static constexpr int kPageSwitchMarker = 13;
  static const QString& DefaultTestText();  // "This is a test for selected voice."

  DefaultVoicePage(Sapi4Voice& sapi4, Sapi5Voice& sapi5, QObject* parent = nullptr);

  ::voxmere::VoicesList voices_list;
  TrackBar speed_bar{QStringLiteral("Speed_Bar"), 60, 280, 60, 45};
  TrackBar pitch_bar{QStringLiteral("Pitch_Bar"), 30, 240, 30, 45};
  TrackBar volume_bar{QStringLiteral("Volume_Bar"), 0, 100, 0, 20};
  TextField speed_box{QStringLiteral("Edit1"), QStringLiteral("0"), 3, true};
  TextField pitch_box{QStringLiteral("Edit2"), QStringLiteral("0"), 3, true};
  TextField volume_box{QStringLiteral("Edit3"), QStringLiteral("0"), 3, true};
  TextField test_text{QStringLiteral("Edit4"), DefaultTestText()};

  PageScaleMode ScaleMode() const { return scale_mode_; }
  // The list's tag: kPageSwitchMarker or 0.
  int VoicesListTag() const { return voices_list_tag_; }

  // True when position p is a SAPI 4 entry (below the number of SAPI 4
  // modes); -1 counts as SAPI 4.
  bool IsSapi4Entry(int position) const;

  // Handlers.
  // The list's selection change: nothing after a page switch until the list
  // is clicked again, else ShowVoice.
  void VoiceSelectionChanged(int previous, int current);
  // The page takes the voice at position `current`: its scale, the bars'
  // ranges and starting positions, and the engine (a SAPI 4 mode is
  // selected, a SAPI 5 voice gets rate -2 and full volume). Not subject to
  // the page-switch marker: the settings load calls it so that the stored
  // voice comes back on its own scale whatever the page went through.
  // Nothing with an empty list; throws for a position outside it.
  void ShowVoice(int current);
  void VoiceListClicked();
  // Any page switch of the options window.
  void PageChanged();
  void SpeedBarMoved();
  void PitchBarMoved();
  void VolumeBarMoved();
  // Applies the selected entry with the bar positions to its engine; throws
  // when nothing is selected.
  void SelectDefaultVoice();
  void TestClicked();
  // Applies the page's voice as it stands and queues `text` behind current
  // speech (SAPI 5: the pitch tag without its closing tag).
  void Speak(const QString& text);

 private:
  Sapi4Voice& sapi4_;
  Sapi5Voice& sapi5_;
  PageScaleMode scale_mode_ = PageScaleMode::kSapi4;
  int voices_list_tag_ = 0;
};

}  // namespace voxmere
