// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

namespace voxmere {

// The SAPI 5 role, shaped like the Windows automation objects the program was
// built on: SpVoice (ISpeechVoice), its voice token collection and tokens.
// Every call that fails throws voxmere::Exception carrying the system's text
// for the failure.

// One installed voice (ISpeechObjectToken).
class SpeechObjectToken {
 public:
  virtual ~SpeechObjectToken() = default;
  // The voice's description in the given locale (0: the default language).
  virtual QString GetDescription(int locale) const = 0;
};

// A snapshot of the installed voices (ISpeechObjectTokens).
class SpeechObjectTokens {
 public:
  virtual ~SpeechObjectTokens() = default;
  virtual int Count() const = 0;
  // 0-based; an index outside 0..Count()-1 throws.
  virtual std::shared_ptr<SpeechObjectToken> Item(int index) const = 0;
};

// The voice object (ISpeechVoice plus its connection point).
class SpeechVoiceServer {
 public:
  // Speak flags the program uses.
  static constexpr unsigned kFlagsAsync = 1;             // SVSFlagsAsync
  static constexpr unsigned kFlagsPurgeBeforeSpeak = 2;  // SVSFPurgeBeforeSpeak

  // Event dispatch ids of the voice's event interface, in declaration order.
  static constexpr int kStartStream = 1;
  static constexpr int kEndStream = 2;
  static constexpr int kVoiceChange = 3;
  static constexpr int kBookmark = 4;
  static constexpr int kWord = 5;
  static constexpr int kPhoneme = 6;
  static constexpr int kSentence = 7;
  static constexpr int kViseme = 8;
  static constexpr int kAudioLevel = 9;
  static constexpr int kEnginePrivate = 10;

  // An event: its dispatch id and its arguments in declaration order (start
  // and end stream: stream number, stream position). Always called on the
  // user-interface thread, never from inside a call into the server.
  using EventSink = std::function<void(int dispatch_id, const QVariantList& arguments)>;

  virtual ~SpeechVoiceServer() = default;

  // Connection point for the event interface: returns a cookie for Unadvise.
  virtual int Advise(EventSink sink) = 0;
  virtual void Unadvise(int cookie) = 0;

  // Every voice when both attribute texts are empty.
  virtual std::shared_ptr<SpeechObjectTokens> GetVoices(const QString& required_attributes,
                                                        const QString& optional_attributes) = 0;

  // Late-bound property put by member name (the program writes "Voice" this
  // way); an unknown member name throws.
  virtual void PutPropertyByName(const QString& member_name,
                                 const std::shared_ptr<SpeechObjectToken>& value) = 0;

  // Rate -10..10 and Volume 0..100 as the Windows engine takes them; values
  // outside are passed on by the program and clamped by the engine.
  virtual void SetRate(int rate) = 0;
  virtual void SetVolume(int volume) = 0;

  // kFlagsAsync queues the text behind current speech and returns at once;
  // kFlagsPurgeBeforeSpeak with an empty text discards what is spoken and
  // queued. A text starting with "<" is read as markup. Returns the stream
  // number.
  virtual int Speak(const QString& text, unsigned flags) = 0;
};

// How the adapter obtains the voice object: a running object first, else a
// new one.
class SpeechVoiceConnector {
 public:
  virtual ~SpeechVoiceConnector() = default;
  // The running voice object, or null when there is none.
  virtual std::shared_ptr<SpeechVoiceServer> GetActiveObject() = 0;
  // A new voice object; throws when the engine cannot work (no daemon, no
  // audio), within a bounded time.
  virtual std::shared_ptr<SpeechVoiceServer> CreateInstance() = 0;
  // False while an early listing of the voices, started before the program
  // asked for them, is still going on: the first voice object would wait
  // for it. Never waits itself.
  virtual bool VoicesReady() { return true; }
};

}  // namespace voxmere
