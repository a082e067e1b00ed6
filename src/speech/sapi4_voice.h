// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/exception.h"
#include "platform/tts_engine.h"

namespace voxmere {

// The SAPI 4 adapter's own failures ("Speech Engine not initialized", ...).
class Sapi4Error : public Exception {
 public:
  using Exception::Exception;
};

enum class Sapi4Output { kFile, kSoundDevice };

// The selected mode as the program sees it, in the order the Windows
// component declares it.
struct Sapi4EngineInfo {
  QString mode_name;
  QString dialect;
  QString manufacturer_name;
  QString product_name;
  QString mode_id;
  QString engine_id;
  QString speaker;
  QString style;
  QString gender;  // "NEUTRAL", "FEMALE", "MALE"; other genders keep the last text
  std::uint32_t age = 0;
  std::uint32_t features = 0;
  std::uint32_t interfaces = 0;
  std::uint16_t max_pitch = 0;
  std::uint16_t min_pitch = 0;
  std::uint32_t max_real_time = 0;
  std::uint32_t min_real_time = 0;
  std::uint32_t max_speed = 0;
  std::uint32_t min_speed = 0;
  std::uint32_t max_volume = 0;
  std::uint32_t min_volume = 0;
};

// The SAPI 4 text-to-speech component: lists the modes at creation, selects
// one by name (a new engine object each time), sets speed, pitch and volume
// with control tags, speaks the lines of Text and reports audio start and
// stop.
class Sapi4Voice {
 public:
  // The sender is the notification sink the engine called.
  using NotifyEvent = std::function<void(TtsNotifySink& sender)>;

  // Enumerates the modes at once; any failure clears Initialized and keeps the
  // names gathered until then.
  explicit Sapi4Voice(TtsObjectFactory& factory);
  ~Sapi4Voice();
  Sapi4Voice(const Sapi4Voice&) = delete;
  Sapi4Voice& operator=(const Sapi4Voice&) = delete;

  bool Initialized() const { return initialized_; }
  bool EngineSelected() const { return engine_selected_; }
  // Mode names in enumeration order, duplicates kept.
  const QStringList& EngineNames() const { return engine_names_; }
  const Sapi4EngineInfo& EngineInfo() const { return engine_info_; }

  Sapi4Output Output() const { return output_; }
  void SetOutput(Sapi4Output output) { output_ = output; }
  void SetFilename(const QString& filename) { filename_ = filename; }
  // The lines of the text, as UTF-8 holds them.
  QStringList Text() const;
  // Splits at CR LF, LF or CR; a final line break adds no empty line.
  void SetText(const QString& text);

  // Throws "Speech Engine not initialized" or "Specified Speech Engine not
  // found" (the previous selection stays). Any later failure clears
  // EngineSelected without a message.
  void SelectEngine(const QString& name);

  // The engine's own units. Reading needs a selected mode's attributes;
  // writing injects a control tag. Both throw "Speech Engine not selected"
  // when there is no engine object yet.
  std::uint32_t Speed() const;
  void SetSpeed(std::uint32_t speed);
  std::uint16_t Pitch() const;
  void SetPitch(std::uint16_t pitch);
  // Percent 0..100 of the first channel.
  std::uint32_t Volume() const;
  void SetVolume(std::uint32_t percent);

  // Queues the lines of Text. Throws only "Speech Engine not initialized" and
  // "Speech Engine not selected"; any failure after that is swallowed and
  // nothing is spoken.
  void Speak();
  // Discards what is spoken and queued; a failure throws with its text.
  // Nothing to do before any engine object exists.
  void Stop();

  void SetOnStart(NotifyEvent handler) { on_start_ = std::move(handler); }
  void SetOnStop(NotifyEvent handler) { on_stop_ = std::move(handler); }

 private:
  friend class Sapi4EngineEvents;

  void EnumerateModes();
  void SelectFound(int position);
  void ProbeRanges();
  TtsEngine& EngineForTags() const;
  TtsEngine& EngineForAttributes() const;
  void SpeakText();

  // Called by the sinks.
  void HandleAudioStart(TtsNotifySink& sender);
  void HandleAudioStop(TtsNotifySink& sender);

  TtsObjectFactory& factory_;
  bool initialized_ = false;
  bool engine_selected_ = false;
  QStringList engine_names_;
  Sapi4EngineInfo engine_info_;
  Sapi4Output output_ = Sapi4Output::kSoundDevice;
  QString filename_;
  // The lines, each ended by CR LF, in UTF-8 with a terminating zero: the
  // engine's text as it is handed over, so that a long text is held once.
  QByteArray text_ = QByteArray(1, '\0');

  std::shared_ptr<TtsEnum> enumerator_;
  std::shared_ptr<TtsEngine> engine_;
  bool engine_has_attributes_ = false;
  std::shared_ptr<TtsAudioDestination> destination_;
  TtsObjectFactory::Destination destination_kind_ = TtsObjectFactory::Destination::kSoundDevice;
  std::optional<TtsModeInfo> mode_info_;
  std::uint32_t sink_key_ = 0;
  // The sinks reach the component only through this; the destructor clears
  // it, so a late notification finds nothing.
  std::shared_ptr<Sapi4Voice*> self_;
  std::shared_ptr<TtsNotifySink> notify_sink_;
  std::shared_ptr<TtsBufNotifySink> buf_notify_sink_;

  NotifyEvent on_start_;
  NotifyEvent on_stop_;
  // Between the engine's audio start and its stop: an engine replaced then
  // (another mode selected while it speaks) is silenced with it and sends
  // no stop of its own, so its stop is reported for it.
  bool audio_running_ = false;
};

}  // namespace voxmere
