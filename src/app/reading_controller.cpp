// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reading_controller.h"

#include <QScopeGuard>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "app/app_log.h"
#include "platform/exception.h"
#include "platform/speech_voice.h"
#include "settings/ini_value.h"
#include "speech/sapi4_requests.h"
#include "speech/sapi5_requests.h"
#include "speech/value_scales.h"
#include "speech/voice_catalogue.h"

namespace voxmere {

ReadingController::ReadingController(Parts parts, QObject* parent)
    : QObject(parent), parts_(parts) {
  setObjectName(QStringLiteral("ReadingController"));
  timer_.setObjectName(QStringLiteral("TrayAnimation_Timer"));
  timer_.setInterval(kAnimationIntervalMs);
  timer_.setSingleShot(false);
  connect(&timer_, &QTimer::timeout, this, [this] { AdvanceAnimation(); });
}

ReadingController::~ReadingController() {
  timer_.stop();
  parts_.sapi5.SetOnStartStream(nullptr);
  parts_.sapi5.SetOnEndStream(nullptr);
  parts_.sapi4.SetOnStart(nullptr);
  parts_.sapi4.SetOnStop(nullptr);
}

void ReadingController::ConnectEngineEvents() {
  // Stream numbers and positions do not matter: every stream and every
  // start/stop notification drives the menu and the animation on its own.
  parts_.sapi5.SetOnStartStream(
      [this](Sapi5Voice&, int, const QVariant&) { Sapi5StreamStarted(); });
  parts_.sapi5.SetOnEndStream([this](Sapi5Voice&, int, const QVariant&) { Sapi5StreamEnded(); });
  parts_.sapi4.SetOnStart([this](TtsNotifySink&) { Sapi4AudioStarted(); });
  parts_.sapi4.SetOnStop([this](TtsNotifySink&) { Sapi4AudioStopped(); });
}

void ReadingController::ReadWithDefaultVoice() {
  // A hot key reading reports nothing but the warning sound.
  try {
    ReadDefaultVoice([this] { return CaptureAndPrepare(); });
  } catch (...) {
    ReadingFailed(QStringLiteral("the default voice"));
  }
}

void ReadingController::ReadRequestedRemotely(std::optional<int> slot) {
  from_session_ = parts_.session_selection != nullptr;
  const auto reset = qScopeGuard([this] { from_session_ = false; });
  if (slot) {
    SelectSlot(*slot);
  } else {
    ReadWithDefaultVoice();
  }
}

void ReadingController::ReadTextWithDefaultVoice(const QString& text) {
  try {
    ReadDefaultVoice([&text] { return std::optional<QString>(text); });
  } catch (...) {
    ReadingFailed(QStringLiteral("the default voice (a given text)"));
  }
}

void ReadingController::SelectSlot(int slot) {
  try {
    ReadSlot(slot);
  } catch (...) {
    ReadingFailed(QStringLiteral("voice slot %1 ([Slot_%1] in slots.ini)").arg(slot));
  }
}

void ReadingController::ReadingFailed(const QString& reading) {
  // The beep says only that something failed; the log says what.
  qCWarning(AppLog, "Reading with %s failed, beeping: %s", qUtf8Printable(reading),
            qUtf8Printable(CurrentExceptionMessage()));
  parts_.beeper.Beep();
}

void ReadingController::ReadDefaultVoice(const std::function<std::optional<QString>()>& take_text) {
  pitch_prefix_.clear();
  DefaultVoicePage& page = parts_.default_voice;
  page.SelectDefaultVoice();
  if (EngineOfEntry(parts_.sapi4, page.voices_list.ItemIndex()) == VoiceEngine::kSapi4) {
    const std::optional<QString> text = take_text();
    if (text) SpeakSapi4(parts_.sapi4, *text);
    return;
  }
  pitch_prefix_ = PitchMarkup(page.pitch_bar.Position());
  std::optional<QString> text = take_text();
  if (!text) return;
  // Queued behind whatever the voice is saying: nothing is cut off. The
  // prefix is read after the capture, as the one the program shares.
  parts_.sapi5.Speak(WithMarkupInFront(*std::move(text), pitch_prefix_),
                     SpeechVoiceServer::kFlagsAsync);
}

void ReadingController::ReadSlot(int slot_number) {
  pitch_prefix_.clear();
  const std::vector<VoiceSlot>& table = parts_.voice_slots.Slots();
  if (slot_number < 0 || static_cast<std::size_t>(slot_number) >= table.size()) {
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(slot_number));
  }
  // A copy: the capture below runs waiting events, and a handler run meanwhile
  // may rebuild the table.
  const VoiceSlot slot = table[static_cast<std::size_t>(slot_number)];
  const VoicesList& list = parts_.default_voice.voices_list;

  if (slot.IsSapi5() && parts_.flags.sapi5_available) {
    Sapi5Voice& voice = parts_.sapi5;
    // The slot's voice replaces whatever SAPI 5 says; SAPI 4 speech goes on.
    StopSapi5(voice);
    const int row = FindStoredVoice(list, slot.voice, 5);
    if (row < 0) {
      throw Exception(QStringLiteral("The voice \"%1\" is not installed.").arg(slot.voice));
    }
    voice.SetVoice(Sapi5TokenOfEntry(voice, parts_.sapi4, row));
    voice.SetRate(Sapi5EngineValueFromNumber(StoredInteger(slot.speed)));
    voice.SetVolume(StoredInteger(slot.volume));
    pitch_prefix_ = PitchMarkup(Sapi5EngineValueFromNumber(StoredInteger(slot.pitch)));
    std::optional<QString> text = CaptureAndPrepare();
    if (text) {
      voice.Speak(WithMarkupInFront(*std::move(text), pitch_prefix_),
                  SpeechVoiceServer::kFlagsAsync);
    }
    return;
  }

  if (parts_.flags.sapi4_available) {
    Sapi4Voice& speech = parts_.sapi4;
    speech.Stop();
    // Also a SAPI 5 slot while SAPI 5 is unavailable: its name as stored,
    // which then matches no SAPI 4 entry and fails.
    const int row = FindStoredVoice(list, slot.voice, 4);
    speech.SelectEngine(Sapi4ModeNameOfEntry(speech, row));
    // The engine's own numbers, passed on unchanged (the pitch as 16 bits).
    speech.SetSpeed(static_cast<std::uint32_t>(StoredInteger(slot.speed)));
    speech.SetPitch(static_cast<std::uint16_t>(StoredInteger(slot.pitch)));
    speech.SetVolume(static_cast<std::uint32_t>(StoredInteger(slot.volume)));
    const std::optional<QString> text = CaptureAndPrepare();
    if (text) SpeakSapi4(speech, *text);
    return;
  }
  // No engine for the slot: nothing happens at all.
  qCDebug(AppLog, "Voice slot %d not read: no speech engine is available for it", slot_number);
}

std::optional<QString> ReadingController::CaptureAndPrepare() {
  const std::uint64_t request = ++requests_;
  // The Pronunciation page as it stands now, confirmed with OK or not.
  const PronunciationPage& page = parts_.pronunciation;
  PreparationInputs inputs;
  inputs.ignore_characters = page.ignore_characters.Checked();
  inputs.ignored_characters = page.ignored_characters.Text();
  inputs.words_corrections = page.use_corrections.Checked();
  inputs.corrections = &page.Table();
  QString text = from_session_ ? PrepareText(ReadSessionSelection(), inputs)
                               : GetSelectedText(parts_.capture, inputs,
                                                 parts_.general.primary_selection.Checked());
  if (request != requests_) {
    qCDebug(AppLog, "A reading was called off: a stop or a newer reading came during its capture");
    return std::nullopt;
  }
  return text;
}

QString ReadingController::ReadSessionSelection() const {
  // As long as the capture waits for a slow copy at most.
  SessionSelectionText read = parts_.session_selection->Read(kLateCopyWaitMilliseconds);
  if (read.outcome != SessionSelectionText::Outcome::kRead) {
    throw Exception(QStringLiteral("The selection could not be read: %1.")
                        .arg(SessionSelectionFailure(read.outcome)));
  }
  return std::move(read.text);
}

void ReadingController::StopReading() {
  ++requests_;
  if (parts_.flags.sapi5_available) StopSapi5(parts_.sapi5);
  if (parts_.flags.sapi4_available) parts_.sapi4.Stop();
  // "Stop reading", the timer and the icon follow the engines' end events.
  parts_.menu.exit.SetEnabled(true);
}

void ReadingController::Sapi5StreamStarted() { ReadingStarted(); }
void ReadingController::Sapi5StreamEnded() { ReadingEnded(); }
void ReadingController::Sapi4AudioStarted() { ReadingStarted(); }
void ReadingController::Sapi4AudioStopped() { ReadingEnded(); }

void ReadingController::ReadingStarted() {
  parts_.menu.stop_reading.SetEnabled(true);
  parts_.menu.exit.SetEnabled(false);
  // Enabling a running timer does not restart its interval.
  if (timer_.isActive()) return;
  timer_.start();
  emit ReadingChanged(true);
}

void ReadingController::ReadingEnded() {
  parts_.menu.stop_reading.SetEnabled(false);
  parts_.menu.exit.SetEnabled(true);
  const bool was_reading = timer_.isActive();
  timer_.stop();
  parts_.tray.SetPicture(TrayPicture::kIdleIcon);
  if (was_reading) emit ReadingChanged(false);
}

void ReadingController::AdvanceAnimation() {
  // The phase is never reset: the first reading waits two ticks before its
  // first frame, later readings go on where the last one stopped.
  TrayIconModel& tray = parts_.tray;
  const int phase = tray.Tag() >= 5 ? 3 : tray.Tag() + 1;
  tray.SetTag(phase);
  switch (phase) {
    case 3:
      tray.SetPicture(TrayPicture::kReadingFrame1);
      break;
    case 4:
      tray.SetPicture(TrayPicture::kReadingFrame2);
      break;
    case 5:
      tray.SetPicture(TrayPicture::kIdleIcon);
      break;
    default:
      break;
  }
}

}  // namespace voxmere
