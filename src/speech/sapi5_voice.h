// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>

#include "platform/speech_voice.h"

namespace voxmere {

// The SAPI 5 voice component: one voice object for the whole run, obtained on
// first use (a running object first, else a new one), with the voice's events
// start and end events routed to their handlers (the program listens to no
// other event). Every property write and method connects on
// its own when the component is not connected yet.
class Sapi5Voice {
 public:
  // Start and end of a stream.
  using StreamHandler =
      std::function<void(Sapi5Voice& sender, int stream_number, const QVariant& stream_position)>;

  static const QString& NotConnectedMessage();

  explicit Sapi5Voice(SpeechVoiceConnector& connector);
  // Disconnects; events that arrive afterwards find no component.
  ~Sapi5Voice();
  Sapi5Voice(const Sapi5Voice&) = delete;
  Sapi5Voice& operator=(const Sapi5Voice&) = delete;

  // Nothing when connected. Otherwise the running voice object, else a new
  // one; then the event sink is advised and the object kept as the default
  // interface. A failure throws and leaves the component not connected. When
  // the connector gives no object at all, the component stays not connected
  // without a failure (the next operation reports it).
  void Connect();
  // Unadvises the sink and releases the object; nothing when not connected.
  void Disconnect();
  bool Connected() const { return server_ != nullptr; }
  // The voice object while connected, else null.
  SpeechVoiceServer* DefaultInterface() const { return server_.get(); }

  std::shared_ptr<SpeechObjectTokens> GetVoices(const QString& required_attributes,
                                                const QString& optional_attributes);
  // Written late-bound, as the property named "Voice".
  void SetVoice(const std::shared_ptr<SpeechObjectToken>& token);
  void SetRate(int rate);
  void SetVolume(int volume);
  // Returns the stream number.
  int Speak(const QString& text, unsigned flags);

  // Dispatch id 1 goes to OnStartStream, 2 to OnEndStream; other ids and
  // handlers not assigned are ignored.
  void InvokeEvent(int dispatch_id, const QVariantList& arguments);

  void SetOnStartStream(StreamHandler handler) { on_start_stream_ = std::move(handler); }
  void SetOnEndStream(StreamHandler handler) { on_end_stream_ = std::move(handler); }

 private:
  // The implicit connection in front of every property write and method.
  SpeechVoiceServer& Server();

  SpeechVoiceConnector& connector_;
  std::shared_ptr<SpeechVoiceServer> server_;
  int cookie_ = 0;
  // The event sink reaches the component only through this; the destructor
  // clears it, so a late event finds nothing.
  std::shared_ptr<Sapi5Voice*> self_;
  StreamHandler on_start_stream_;
  StreamHandler on_end_stream_;
};

}  // namespace voxmere
