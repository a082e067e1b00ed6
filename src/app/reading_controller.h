// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/app_flags.h"
#include "app/general_page.h"
#include "app/tray_model.h"
#include "platform/message_boxes.h"
#include "platform/session_selection.h"
#include "pronunciation/pronunciation_page.h"
#include "reading/selected_text.h"
#include "slots/voice_slot_store.h"
#include "speech/default_voice_page.h"
#include "speech/sapi4_voice.h"
#include "speech/sapi5_voice.h"

namespace voxmere {

// The road from a pressed hot key to speech: the two reading requests, stop,
// the engines' start and end events and the tray animation. A failed reading
// request ends with the warning beep and nothing else.
class ReadingController : public QObject {
  Q_OBJECT

 public:
  static constexpr int kAnimationIntervalMs = 500;

  struct Parts {
    const AppFlags& flags;
    Sapi4Voice& sapi4;
    Sapi5Voice& sapi5;
    DefaultVoicePage& default_voice;
    // Its "Read the selection directly" box, as it stands.
    const GeneralPage& general;
    const PronunciationPage& pronunciation;
    const VoiceSlotStore& voice_slots;
    TrayIconModel& tray;
    TrayMenuModel& menu;
    CaptureServices capture;
    Beeper& beeper;
    // Null, or where a reading asked for through the remote control takes
    // its text (a Wayland session, where Ctrl+C reaches no native program).
    SessionSelection* session_selection = nullptr;
  };

  explicit ReadingController(Parts parts, QObject* parent = nullptr);
  // Takes the engine handlers away again.
  ~ReadingController() override;

  // Routes the engines' start and end events to the handlers below.
  void ConnectEngineEvents();

  const QString& PitchPrefix() const { return pitch_prefix_; }
  QTimer& AnimationTimer() { return timer_; }

  void ReadWithDefaultVoice();
  // A reading asked for by another process (the remote control): with the
  // default voice, or with the voice slot at index `slot` (0 is the first).
  // Every remote reading comes through here, as the place that may pick
  // where a remote reading's text comes from.
  void ReadRequestedRemotely(std::optional<int> slot);
  // Reads a text of the program's own (no capture, no preparation) with the
  // default voice as the reading hot key reads a captured one; a failure
  // beeps.
  void ReadTextWithDefaultVoice(const QString& text);
  void SelectSlot(int slot);
  // May throw (an engine's stop failed): the caller's error handler shows it.
  void StopReading();

  void Sapi5StreamStarted();
  void Sapi5StreamEnded();
  void Sapi4AudioStarted();
  void Sapi4AudioStopped();
  void AdvanceAnimation();

  // A reading is going on: the tray animation runs.
  bool Reading() const { return timer_.isActive(); }

 signals:
  // Reading()'s answer has changed.
  void ReadingChanged(bool reading);

 private:
  void ReadingStarted();
  void ReadingEnded();
  // take_text gives the text at the moment the hot key path captures it,
  // or nothing when the reading was called off meanwhile.
  void ReadDefaultVoice(const std::function<std::optional<QString>()>& take_text);
  void ReadSlot(int slot);
  // The selection, prepared; nothing when a stop or a newer reading came
  // while it was being captured (the capture runs waiting events, the hot
  // keys' among them): that reading is called off, so a stop pressed right
  // after a reading key silences it, and of readings pressed in a burst the
  // last one speaks.
  std::optional<QString> CaptureAndPrepare();
  // The session's selection as it stands; throws when there is none to read.
  QString ReadSessionSelection() const;
  // Logs the exception being handled, then beeps; only inside a catch block.
  void ReadingFailed(const QString& reading);

  Parts parts_;
  QString pitch_prefix_;
  // Counts readings begun and stops: a capture that sees it change was
  // overtaken.
  std::uint64_t requests_ = 0;
  // A remote-control reading is being prepared: its text comes from the
  // session's selection.
  bool from_session_ = false;
  QTimer timer_;
};

}  // namespace voxmere
