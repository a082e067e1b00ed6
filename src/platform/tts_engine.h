// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

namespace voxmere {

// The SAPI 4 role, shaped like the Windows text-to-speech interfaces the
// program was built on: the mode enumerator (ITTSEnumA), the engine
// (ITTSCentralA with ITTSAttributesA), the audio destination and the two
// notification sinks. Calls report their result like the Windows calls do;
// the adapter decides which results it tests.

// The result of a call: success, success with nothing more to return (the
// enumerator's end), or a failure with the system's text for it.
struct TtsResult {
  enum class Code { kOk, kFalse, kFailed };
  Code code = Code::kOk;
  QString error_text;

  static TtsResult Ok() { return {}; }
  static TtsResult False() { return {Code::kFalse, {}}; }
  static TtsResult Failed(const QString& text) { return {Code::kFailed, text}; }
  bool Succeeded() const { return code != Code::kFailed; }
};

// The fields of a SAPI 4 mode description that the program reads.
struct TtsModeInfo {
  QString engine_id;  // GUID as text
  QString manufacturer_name;
  QString product_name;
  QString mode_id;  // GUID as text; Select takes it
  QString mode_name;
  QString language_dialect;
  QString speaker;
  QString style;
  int gender = 0;  // 0 neutral, 1 female, 2 male
  int age = 0;
  std::uint32_t features = 0;
  std::uint32_t interfaces = 0;
};

// Mouth shape passed with SAPI 4 visual notifications.
struct TtsMouth {
  std::uint8_t mouth_height = 0;
  std::uint8_t mouth_width = 0;
  std::uint8_t mouth_upturn = 0;
  std::uint8_t jaw_open = 0;
  std::uint8_t teeth_upper_visible = 0;
  std::uint8_t teeth_lower_visible = 0;
  std::uint8_t tongue_posn = 0;
  std::uint8_t lip_tension = 0;
};

// Engine notifications (ITTSNotifySinkA). Called on the user-interface
// thread only, never from inside a call into the engine.
class TtsNotifySink {
 public:
  virtual ~TtsNotifySink() = default;
  virtual TtsResult AttribChanged(std::uint32_t attribute) = 0;
  virtual TtsResult AudioStart(std::uint64_t time_stamp) = 0;
  virtual TtsResult AudioStop(std::uint64_t time_stamp) = 0;
  virtual TtsResult Visual(std::uint64_t time_stamp, char ipa_phoneme, char engine_phoneme,
                           std::uint32_t hints, const TtsMouth& mouth) = 0;
};

// Per-text notifications (ITTSBufNotifySink), same thread rule.
class TtsBufNotifySink {
 public:
  virtual ~TtsBufNotifySink() = default;
  virtual TtsResult TextDataDone(std::uint64_t time_stamp, std::uint32_t flags) = 0;
  virtual TtsResult TextDataStarted(std::uint64_t time_stamp) = 0;
  virtual TtsResult BookMark(std::uint64_t time_stamp, std::uint32_t mark) = 0;
  virtual TtsResult WordPosition(std::uint64_t time_stamp, std::uint32_t byte_offset) = 0;
};

// Where an engine's audio goes: the sound device, or a file.
class TtsAudioDestination {
 public:
  virtual ~TtsAudioDestination() = default;
  // File destinations only: opens the file (flags 1: create); the sound
  // device answers with a failure.
  virtual TtsResult SetFile(const QString& file_name, std::uint32_t flags) = 0;
  // File destinations only: writes out what is buffered.
  virtual TtsResult Flush() = 0;
};

// A selected mode's engine object: ITTSCentralA and ITTSAttributesA.
class TtsEngine {
 public:
  virtual ~TtsEngine() = default;

  // Interface queries of the engine object; a failure means the engine lacks
  // that interface.
  virtual TtsResult QueryAttributes() = 0;
  virtual TtsResult QueryDialogs() = 0;

  virtual TtsResult Register(std::shared_ptr<TtsNotifySink> sink, std::uint32_t* key) = 0;
  virtual TtsResult UnRegister(std::uint32_t key) = 0;

  // A control tag such as "\Spd=180\" (8-bit text, no terminating zero).
  virtual TtsResult Inject(const QByteArray& tag) = 0;

  // Queues text behind what is being spoken. `data` holds `size` bytes, the
  // last of them the terminating zero; 8-bit text is UTF-8 here.
  // character_set 0 is plain text; options 0 means no tags in the text.
  virtual TtsResult TextData(int character_set, std::uint32_t options, const QByteArray& data,
                             std::uint32_t size, std::shared_ptr<TtsBufNotifySink> buf_sink) = 0;

  // Stops audio at once and discards everything queued.
  virtual TtsResult AudioReset() = 0;

  // Attributes. A set outside the engine's range takes the engine's nearest
  // limit, so reading back after an extreme set gives the limit.
  virtual TtsResult PitchGet(std::uint16_t* pitch) = 0;
  virtual TtsResult PitchSet(std::uint16_t pitch) = 0;
  virtual TtsResult RealTimeGet(std::uint32_t* real_time) = 0;
  virtual TtsResult RealTimeSet(std::uint32_t real_time) = 0;
  virtual TtsResult SpeedGet(std::uint32_t* speed) = 0;
  virtual TtsResult SpeedSet(std::uint32_t speed) = 0;
  // Low 16 bits: left channel level 0..65535, high 16 bits: right channel.
  virtual TtsResult VolumeGet(std::uint32_t* volume) = 0;
  virtual TtsResult VolumeSet(std::uint32_t volume) = 0;
};

// The mode enumerator (ITTSEnumA).
class TtsEnum {
 public:
  virtual ~TtsEnum() = default;
  virtual TtsResult Reset() = 0;
  // One mode: Ok with *mode filled, False when there are no more.
  virtual TtsResult Next(TtsModeInfo* mode) = 0;
  virtual TtsResult Skip(std::uint32_t count) = 0;
  // Creates the engine object of a mode, speaking into `destination`.
  virtual TtsResult Select(const QString& mode_id, std::shared_ptr<TtsAudioDestination> destination,
                           std::shared_ptr<TtsEngine>* engine) = 0;
};

// Object creation for the SAPI 4 role (the Windows program creates these by
// class identifier).
class TtsObjectFactory {
 public:
  enum class Destination { kSoundDevice, kFile };
  virtual ~TtsObjectFactory() = default;
  virtual TtsResult CreateEnumerator(std::shared_ptr<TtsEnum>* enumerator) = 0;
  virtual TtsResult CreateAudioDestination(Destination kind,
                                           std::shared_ptr<TtsAudioDestination>* destination) = 0;
};

}  // namespace voxmere
