// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QVariant>
#include <map>
#include <memory>

#include "fakes/fake_call_log.h"
#include "platform/speech_voice.h"

namespace voxmere {

// Fakes of the SAPI 5 role. Every call is recorded in one shared FakeCallLog:
//   "GetActiveObject", "CreateInstance", "Advise", "Unadvise(<cookie>)",
//   "GetVoices(<required>,<optional>)", "Count", "Item(<i>)",
//   "GetDescription(<locale>)", "PutPropertyByName(<member>,<description>)",
//   "SetRate(<e>)", "SetVolume(<v>)", "Speak(<text>,<flags>)".
// A call made to fail through the log throws voxmere::Exception with the
// rule's text (GetActiveObject too).

class FakeSpeechObjectToken : public SpeechObjectToken {
 public:
  FakeSpeechObjectToken(std::shared_ptr<FakeCallLog> log, QString description, int index)
      : log_(std::move(log)), description_(std::move(description)), index_(index) {}

  QString GetDescription(int locale) const override;

  const QString& Description() const { return description_; }
  int Index() const { return index_; }

 private:
  std::shared_ptr<FakeCallLog> log_;
  QString description_;
  int index_;
};

// A snapshot of the voices at the time of GetVoices.
class FakeSpeechObjectTokens : public SpeechObjectTokens {
 public:
  FakeSpeechObjectTokens(std::shared_ptr<FakeCallLog> log, QStringList descriptions)
      : log_(std::move(log)), descriptions_(std::move(descriptions)) {}

  int Count() const override;
  // An index outside the snapshot throws "The parameter is incorrect."
  std::shared_ptr<SpeechObjectToken> Item(int index) const override;

 private:
  std::shared_ptr<FakeCallLog> log_;
  QStringList descriptions_;
};

class FakeSpeechVoiceServer : public SpeechVoiceServer {
 public:
  explicit FakeSpeechVoiceServer(std::shared_ptr<FakeCallLog> log) : log_(std::move(log)) {}

  // The installed voices by description; later collections see changes.
  void SetVoices(const QStringList& descriptions) { voices_ = descriptions; }
  const QStringList& Voices() const { return voices_; }

  int Advise(EventSink sink) override;
  void Unadvise(int cookie) override;
  std::shared_ptr<SpeechObjectTokens> GetVoices(const QString& required_attributes,
                                                const QString& optional_attributes) override;
  // Only "Voice" is known; the token becomes the current voice.
  void PutPropertyByName(const QString& member_name,
                         const std::shared_ptr<SpeechObjectToken>& value) override;
  void SetRate(int rate) override;
  void SetVolume(int volume) override;
  // Returns 1, 2, 3, ... (stream numbers).
  int Speak(const QString& text, unsigned flags) override;

  // What the calls left behind.
  const QString& CurrentVoice() const { return current_voice_; }
  int Rate() const { return rate_; }
  int Volume() const { return volume_; }
  int LastStreamNumber() const { return stream_number_; }

  // Events to every advised sink; returns how many sinks were called.
  int FireEvent(int dispatch_id, const QVariantList& arguments);
  int StartStream(int stream_number, const QVariant& position = 0);
  int EndStream(int stream_number, const QVariant& position = 0);
  int AdvisedCount() const { return static_cast<int>(sinks_.size()); }
  // The last sink ever advised, kept after Unadvise: an event the system had
  // queued before the unadvise can still reach it.
  const EventSink& LastAdvisedSink() const { return last_sink_; }

 private:
  void Check(const std::string& call);

  std::shared_ptr<FakeCallLog> log_;
  QStringList voices_;
  std::map<int, EventSink> sinks_;
  EventSink last_sink_;
  int next_cookie_ = 1;
  QString current_voice_;
  int rate_ = 0;
  int volume_ = 100;
  int stream_number_ = 0;
};

// Hands out a configured running object and new instance. By default nothing
// is running and CreateInstance gives Instance().
class FakeSpeechVoiceConnector : public SpeechVoiceConnector {
 public:
  explicit FakeSpeechVoiceConnector(
      std::shared_ptr<FakeCallLog> log = std::make_shared<FakeCallLog>());

  const std::shared_ptr<FakeCallLog>& Log() const { return log_; }
  // The object CreateInstance gives (null: none).
  const std::shared_ptr<FakeSpeechVoiceServer>& Instance() const { return instance_; }
  void SetInstance(std::shared_ptr<FakeSpeechVoiceServer> instance) {
    instance_ = std::move(instance);
  }
  // The object GetActiveObject gives (null: none running).
  void SetRunningObject(std::shared_ptr<FakeSpeechVoiceServer> running) {
    running_ = std::move(running);
  }

  std::shared_ptr<SpeechVoiceServer> GetActiveObject() override;
  std::shared_ptr<SpeechVoiceServer> CreateInstance() override;
  bool VoicesReady() override { return voices_ready; }

  // False: an early listing of the voices is still going on.
  bool voices_ready = true;

 private:
  std::shared_ptr<FakeCallLog> log_;
  std::shared_ptr<FakeSpeechVoiceServer> instance_;
  std::shared_ptr<FakeSpeechVoiceServer> running_;
};

}  // namespace voxmere
