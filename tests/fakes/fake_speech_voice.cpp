// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_speech_voice.h"

#include "platform/exception.h"

namespace voxmere {
namespace {

void Check(FakeCallLog& log, const QString& call) {
  if (const std::optional<QString> error = log.Record(call)) throw Exception(*error);
}

}  // namespace

QString FakeSpeechObjectToken::GetDescription(int locale) const {
  Check(*log_, QStringLiteral("GetDescription(%1)").arg(locale));
  return description_;
}

int FakeSpeechObjectTokens::Count() const {
  Check(*log_, QStringLiteral("Count"));
  return static_cast<int>(descriptions_.size());
}

std::shared_ptr<SpeechObjectToken> FakeSpeechObjectTokens::Item(int index) const {
  Check(*log_, QStringLiteral("Item(%1)").arg(index));
  if (index < 0 || index >= descriptions_.size()) {
    throw Exception(QStringLiteral("The parameter is incorrect."));
  }
  return std::make_shared<FakeSpeechObjectToken>(log_, descriptions_.at(index), index);
}

void FakeSpeechVoiceServer::Check(const std::string& call) {
  if (const std::optional<QString> error = log_->Record(call)) throw Exception(*error);
}

int FakeSpeechVoiceServer::Advise(EventSink sink) {
  Check("Advise");
  const int cookie = next_cookie_++;
  last_sink_ = sink;
  sinks_[cookie] = std::move(sink);
  return cookie;
}

void FakeSpeechVoiceServer::Unadvise(int cookie) {
  Check("Unadvise(" + std::to_string(cookie) + ")");
  if (sinks_.erase(cookie) == 0) throw Exception(QStringLiteral("Unknown advise cookie."));
}

std::shared_ptr<SpeechObjectTokens> FakeSpeechVoiceServer::GetVoices(
    const QString& required_attributes, const QString& optional_attributes) {
  Check(QStringLiteral("GetVoices(%1,%2)")
            .arg(required_attributes, optional_attributes)
            .toStdString());
  return std::make_shared<FakeSpeechObjectTokens>(log_, voices_);
}

void FakeSpeechVoiceServer::PutPropertyByName(const QString& member_name,
                                              const std::shared_ptr<SpeechObjectToken>& value) {
  const auto* token = dynamic_cast<const FakeSpeechObjectToken*>(value.get());
  const QString description = token ? token->Description() : QStringLiteral("null");
  Check(QStringLiteral("PutPropertyByName(%1,%2)").arg(member_name, description).toStdString());
  if (member_name != QStringLiteral("Voice")) throw Exception(QStringLiteral("Unknown name."));
  current_voice_ = description;
}

void FakeSpeechVoiceServer::SetRate(int rate) {
  Check("SetRate(" + std::to_string(rate) + ")");
  rate_ = rate;
}

void FakeSpeechVoiceServer::SetVolume(int volume) {
  Check("SetVolume(" + std::to_string(volume) + ")");
  volume_ = volume;
}

int FakeSpeechVoiceServer::Speak(const QString& text, unsigned flags) {
  Check(QStringLiteral("Speak(%1,%2)").arg(text).arg(flags).toStdString());
  return ++stream_number_;
}

int FakeSpeechVoiceServer::FireEvent(int dispatch_id, const QVariantList& arguments) {
  // A copy: a sink may unadvise while it runs.
  const std::map<int, EventSink> sinks = sinks_;
  for (const auto& [cookie, sink] : sinks) sink(dispatch_id, arguments);
  return static_cast<int>(sinks.size());
}

int FakeSpeechVoiceServer::StartStream(int stream_number, const QVariant& position) {
  return FireEvent(kStartStream, {stream_number, position});
}

int FakeSpeechVoiceServer::EndStream(int stream_number, const QVariant& position) {
  return FireEvent(kEndStream, {stream_number, position});
}

FakeSpeechVoiceConnector::FakeSpeechVoiceConnector(std::shared_ptr<FakeCallLog> log)
    : log_(std::move(log)), instance_(std::make_shared<FakeSpeechVoiceServer>(log_)) {}

std::shared_ptr<SpeechVoiceServer> FakeSpeechVoiceConnector::GetActiveObject() {
  Check(*log_, QStringLiteral("GetActiveObject"));
  return running_;
}

std::shared_ptr<SpeechVoiceServer> FakeSpeechVoiceConnector::CreateInstance() {
  Check(*log_, QStringLiteral("CreateInstance"));
  return instance_;
}

}  // namespace voxmere
