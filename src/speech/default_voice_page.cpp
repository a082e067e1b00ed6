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

DefaultVoicePage::DefaultVoicePage(TMSpeech& sapi4, TSpVoice& sapi5, QObject* parent)
    : QObject(parent), sapi4_(sapi4), sapi5_(sapi5) {
  // The boxes follow every position change, the program's as well as the
  // user's; the list's selection changes reset the bars.
  connect(&Speed_Bar, &TrackBar::Changed, this, [this] { Speed_BarChange(); });
  connect(&Pitch_Bar, &TrackBar::Changed, this, [this] { Pitch_BarChange(); });
  connect(&Volume_Bar, &TrackBar::Changed, this, [this] { Volume_BarChange(); });
  connect(&VoicesList, &::voxmere::VoicesList::Change, this,
          [this](int previous, int current) { VoicesListChange(previous, current); });
}

bool DefaultVoicePage::IsSapi4Entry(int position) const {
  return EngineOfEntry(sapi4_, position) == VoiceEngine::kSapi4;
}

void DefaultVoicePage::VoicesListChange(int /*previous*/, int current) {
  // Redraws after a page switch must not reset what the user set.
  if (voices_list_tag_ == kPageSwitchMarker || VoicesList.Count() == 0) return;
  // Checked before anything changes: a position outside the list would
  // otherwise apply a SAPI 5 default or fail halfway through the bars.
  if (current < 0 || current >= VoicesList.Count()) {
    throw Exception(QStringLiteral("No voice is selected in the voice list."));
  }

  // The scale comes first so that every box refresh below already uses it.
  if (IsSapi4Entry(current)) {
    scale_mode_ = PageScaleMode::kSapi4;
    sapi4_.SelectEngine(Sapi4ModeNameOfEntry(sapi4_, current));
    const TMSpeechEngineInfo& info = sapi4_.EngineInfo();
    Speed_Bar.SetRange(BarValue(info.min_speed), BarValue(info.max_speed));
    Pitch_Bar.SetRange(info.min_pitch, info.max_pitch);
    Volume_Bar.SetRange(0, 100);
    Speed_Bar.SetPosition(BarValue(sapi4_.Speed()));
    Pitch_Bar.SetPosition(sapi4_.Pitch());
    Volume_Bar.SetPosition(BarValue(sapi4_.Volume()));
  } else {
    scale_mode_ = PageScaleMode::kSapi5;
    Speed_Bar.SetRange(kSapi5BarMin, kSapi5BarMax);
    Pitch_Bar.SetRange(kSapi5BarMin, kSapi5BarMax);
    Volume_Bar.SetRange(0, 100);
    sapi5_.SetRate(kSapi5EngineRate);
    sapi5_.SetVolume(kSapi5EngineVolume);
    Speed_Bar.SetPosition(kSapi5SpeedPosition);
    Pitch_Bar.SetPosition(kSapi5PitchPosition);
    Volume_Bar.SetPosition(kSapi5VolumePosition);
  }
  // A bar that keeps its position across a change of scale reports no change,
  // yet its box must show the number of the new scale (and that number is
  // what the settings save).
  Speed_BarChange();
  Pitch_BarChange();
  Volume_BarChange();
}

void DefaultVoicePage::VoicesListClick() { voices_list_tag_ = 0; }

void DefaultVoicePage::PagesChange() { voices_list_tag_ = kPageSwitchMarker; }

void DefaultVoicePage::Speed_BarChange() {
  Edit1.SetText(QString::number(BoxNumber(scale_mode_, Speed_Bar.Position())));
}

void DefaultVoicePage::Pitch_BarChange() {
  Edit2.SetText(QString::number(BoxNumber(scale_mode_, Pitch_Bar.Position())));
}

void DefaultVoicePage::Volume_BarChange() { Edit3.SetText(QString::number(Volume_Bar.Position())); }

void DefaultVoicePage::SelectDefaultVoice() {
  const int position = VoicesList.ItemIndex();
  if (position < 0 || position >= VoicesList.Count()) {
    throw Exception(
        QStringLiteral("No default voice is selected. Choose a voice on the Default voice page."));
  }
  if (IsSapi4Entry(position)) {
    // The engine takes unsigned numbers, the pitch in 16 bits.
    ApplySapi4Voice(sapi4_, Sapi4ModeNameOfEntry(sapi4_, position),
                    static_cast<std::uint32_t>(Speed_Bar.Position()),
                    static_cast<std::uint16_t>(Pitch_Bar.Position()),
                    static_cast<std::uint32_t>(Volume_Bar.Position()));
  } else {
    // The pitch goes into the markup when the text is spoken.
    ApplySapi5Voice(sapi5_, Sapi5IndexOfEntry(sapi4_, position), Speed_Bar.Position(),
                    Volume_Bar.Position());
  }
}

void DefaultVoicePage::Test_ButtonClick() {
  const QString text = Edit4.Text().isEmpty() ? DefaultTestText() : Edit4.Text();
  SelectDefaultVoice();
  if (IsSapi4Entry(VoicesList.ItemIndex())) {
    SpeakSapi4(sapi4_, text);
  } else {
    SpeakSapi5(sapi5_, Pitch_Bar.Position(), text, PitchMarkupClose::kOpen);
  }
}

}  // namespace voxmere
