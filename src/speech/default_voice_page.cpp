// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/default_voice_page.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/exception.h"
#include "speech/sapi4_requests.h"
#include "speech/sapi5_requests.h"
#include "speech/value_scales.h"
#include "speech/voice_catalogue.h"

namespace voxmere {
namespace {

// What a freshly chosen SAPI 5 voice starts with: the engine gets rate -2 and
// full volume, the bars show speed -3, pitch -5 and volume 100.
constexpr int kSapi5EngineRate = -2;
constexpr int kSapi5EngineVolume = 100;
constexpr int kSapi5SpeedPosition = -3;
constexpr int kSapi5PitchPosition = -5;
constexpr int kSapi5VolumePosition = 100;
constexpr int kSapi5BarMin = -10;
constexpr int kSapi5BarMax = 10;

// Engine numbers are unsigned; a bar position is an int.
int BarValue(std::uint32_t engine_value) {
  return static_cast<int>(std::min<std::uint32_t>(engine_value, INT_MAX));
}

// The number a box shows for a speed or pitch position.
int BoxNumber(PageScaleMode mode, int position) {
  return mode == PageScaleMode::kSapi5 ? Sapi5NumberFromEngineValue(position) : position;
}

}  // namespace

const QString& DefaultVoicePage::DefaultTestText() {
  static const QString text = QStringLiteral("This is a test for selected voice.");
  return text;
}

DefaultVoicePage::DefaultVoicePage(Sapi4Voice& sapi4, Sapi5Voice& sapi5, QObject* parent)
    : QObject(parent), sapi4_(sapi4), sapi5_(sapi5) {
  // The boxes follow every position change, the program's as well as the
  // user's; the list's selection changes reset the bars.
  connect(&speed_bar, &TrackBar::Changed, this, [this] { SpeedBarMoved(); });
  connect(&pitch_bar, &TrackBar::Changed, this, [this] { PitchBarMoved(); });
  connect(&volume_bar, &TrackBar::Changed, this, [this] { VolumeBarMoved(); });
  connect(&voices_list, &::voxmere::VoicesList::Change, this,
          [this](int previous, int current) { VoiceSelectionChanged(previous, current); });
}

bool DefaultVoicePage::IsSapi4Entry(int position) const {
  return EngineOfEntry(sapi4_, position) == VoiceEngine::kSapi4;
}

void DefaultVoicePage::VoiceSelectionChanged(int /*previous*/, int current) {
  // Redraws after a page switch must not reset what the user set.
  if (voices_list_tag_ == kPageSwitchMarker) return;
  ShowVoice(current);
}

void DefaultVoicePage::ShowVoice(int current) {
  if (voices_list.Count() == 0) return;
  // Checked before anything changes: a position outside the list would
  // otherwise apply a SAPI 5 default or fail halfway through the bars.
  if (current < 0 || current >= voices_list.Count()) {
    throw Exception(QStringLiteral("No voice is selected in the voice list."));
  }

  // The scale comes first so that every box refresh below already uses it.
  if (IsSapi4Entry(current)) {
    scale_mode_ = PageScaleMode::kSapi4;
    sapi4_.SelectEngine(Sapi4ModeNameOfEntry(sapi4_, current));
    const Sapi4EngineInfo& info = sapi4_.EngineInfo();
    speed_bar.SetRange(BarValue(info.min_speed), BarValue(info.max_speed));
    pitch_bar.SetRange(info.min_pitch, info.max_pitch);
    volume_bar.SetRange(0, 100);
    speed_bar.SetPosition(BarValue(sapi4_.Speed()));
    pitch_bar.SetPosition(sapi4_.Pitch());
    volume_bar.SetPosition(BarValue(sapi4_.Volume()));
  } else {
    scale_mode_ = PageScaleMode::kSapi5;
    speed_bar.SetRange(kSapi5BarMin, kSapi5BarMax);
    pitch_bar.SetRange(kSapi5BarMin, kSapi5BarMax);
    volume_bar.SetRange(0, 100);
    sapi5_.SetRate(kSapi5EngineRate);
    sapi5_.SetVolume(kSapi5EngineVolume);
    speed_bar.SetPosition(kSapi5SpeedPosition);
    pitch_bar.SetPosition(kSapi5PitchPosition);
    volume_bar.SetPosition(kSapi5VolumePosition);
  }
  // A bar that keeps its position across a change of scale reports no change,
  // yet its box must show the number of the new scale (and that number is
  // what the settings save).
  SpeedBarMoved();
  PitchBarMoved();
  VolumeBarMoved();
}

void DefaultVoicePage::VoiceListClicked() { voices_list_tag_ = 0; }

void DefaultVoicePage::PageChanged() { voices_list_tag_ = kPageSwitchMarker; }

void DefaultVoicePage::SpeedBarMoved() {
  speed_box.SetText(QString::number(BoxNumber(scale_mode_, speed_bar.Position())));
}

void DefaultVoicePage::PitchBarMoved() {
  pitch_box.SetText(QString::number(BoxNumber(scale_mode_, pitch_bar.Position())));
}

void DefaultVoicePage::VolumeBarMoved() {
  volume_box.SetText(QString::number(volume_bar.Position()));
}

void DefaultVoicePage::SelectDefaultVoice() {
  const int position = voices_list.ItemIndex();
  if (position < 0 || position >= voices_list.Count()) {
    throw Exception(
        QStringLiteral("No default voice is selected. Choose a voice on the Default voice page."));
  }
  if (IsSapi4Entry(position)) {
    // The engine takes unsigned numbers, the pitch in 16 bits.
    ApplySapi4Voice(sapi4_, Sapi4ModeNameOfEntry(sapi4_, position),
                    static_cast<std::uint32_t>(speed_bar.Position()),
                    static_cast<std::uint16_t>(pitch_bar.Position()),
                    static_cast<std::uint32_t>(volume_bar.Position()));
  } else {
    // The pitch goes into the markup when the text is spoken.
    ApplySapi5Voice(sapi5_, Sapi5IndexOfEntry(sapi4_, position), speed_bar.Position(),
                    volume_bar.Position());
  }
}

void DefaultVoicePage::TestClicked() {
  Speak(test_text.Text().isEmpty() ? DefaultTestText() : test_text.Text());
}

void DefaultVoicePage::Speak(const QString& text) {
  SelectDefaultVoice();
  if (IsSapi4Entry(voices_list.ItemIndex())) {
    SpeakSapi4(sapi4_, text);
  } else {
    SpeakSapi5(sapi5_, pitch_bar.Position(), text, PitchMarkupClose::kOpen);
  }
}

}  // namespace voxmere
