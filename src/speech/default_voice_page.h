#pragma once

#include <QObject>
#include <QString>

#include "controls/text_field.h"
#include "controls/track_bar.h"
#include "speech/m_speech.h"
#include "speech/sp_voice.h"
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

  DefaultVoicePage(TMSpeech& sapi4, TSpVoice& sapi5, QObject* parent = nullptr);

  ::voxmere::VoicesList VoicesList;
  TrackBar Speed_Bar{QStringLiteral("Speed_Bar"), 60, 280, 60, 45};
  TrackBar Pitch_Bar{QStringLiteral("Pitch_Bar"), 30, 240, 30, 45};
  TrackBar Volume_Bar{QStringLiteral("Volume_Bar"), 0, 100, 0, 20};
  TextField Edit1{QStringLiteral("Edit1"), QStringLiteral("0"), 3, true};
  TextField Edit2{QStringLiteral("Edit2"), QStringLiteral("0"), 3, true};
  TextField Edit3{QStringLiteral("Edit3"), QStringLiteral("0"), 3, true};
  TextField Edit4{QStringLiteral("Edit4"), DefaultTestText()};

  PageScaleMode ScaleMode() const { return scale_mode_; }
  // The list's tag: kPageSwitchMarker or 0.
  int VoicesListTag() const { return voices_list_tag_; }

  // True when position p is a SAPI 4 entry (below the number of SAPI 4
  // modes); -1 counts as SAPI 4.
  bool IsSapi4Entry(int position) const;

  // Handlers.
  void VoicesListChange(int previous, int current);
  void VoicesListClick();
  // Any page switch of the options window.
  void PagesChange();
  void Speed_BarChange();
  void Pitch_BarChange();
  void Volume_BarChange();
  // Applies the selected entry with the bar positions to its engine; throws
  // when nothing is selected.
  void SelectDefaultVoice();
  void Test_ButtonClick();

 private:
  TMSpeech& sapi4_;
  TSpVoice& sapi5_;
  PageScaleMode scale_mode_ = PageScaleMode::kSapi4;
  int voices_list_tag_ = 0;
};

}  // namespace voxmere
