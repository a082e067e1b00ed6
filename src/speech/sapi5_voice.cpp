// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi5_voice.h"

#include <utility>

#include "platform/exception.h"
#include "speech/speech_log.h"

namespace voxmere {

const QString& Sapi5Voice::NotConnectedMessage() {
  static const QString message = QStringLiteral(
      "DefaultInterface is NULL. Component is not connected to Server. You must call 'Connect' "
      "or 'ConnectTo' before this operation");
  return message;
}

Sapi5Voice::Sapi5Voice(SpeechVoiceConnector& connector)
    : connector_(connector), self_(std::make_shared<Sapi5Voice*>(this)) {}

Sapi5Voice::~Sapi5Voice() {
  *self_ = nullptr;
  try {
    Disconnect();
  } catch (...) {
    // The object goes away with us either way; a failing unadvise changes
    // nothing for anyone.
    qCDebug(SpeechLog, "SAPI 5: disconnecting at the end failed: %s",
            qUtf8Printable(CurrentExceptionMessage()));
  }
}

void Sapi5Voice::Connect() {
  if (Connected()) return;
  std::shared_ptr<SpeechVoiceServer> server;
  try {
    server = connector_.GetActiveObject();
  } catch (const Exception& error) {
    // No running object to be had: make a new one, as for none running.
    qCDebug(SpeechLog, "SAPI 5: no running voice object (%s); making a new one",
            qUtf8Printable(error.Message()));
  }
  if (!server) server = connector_.CreateInstance();
  if (!server) {
    qCWarning(SpeechLog, "SAPI 5: the engine made no voice object; not connected");
    return;
  }
  std::weak_ptr<Sapi5Voice*> link = self_;
  const int cookie = server->Advise([link](int dispatch_id, const QVariantList& arguments) {
    const std::shared_ptr<Sapi5Voice*> self = link.lock();
    if (self && *self) (*self)->InvokeEvent(dispatch_id, arguments);
  });
  server_ = std::move(server);
  cookie_ = cookie;
}

void Sapi5Voice::Disconnect() {
  if (!Connected()) return;
  // Released even when the unadvise fails, so that the next use starts over.
  const std::shared_ptr<SpeechVoiceServer> server = std::exchange(server_, nullptr);
  server->Unadvise(cookie_);
}

SpeechVoiceServer& Sapi5Voice::Server() {
  if (!Connected()) Connect();
  if (!Connected()) throw Exception(NotConnectedMessage());
  return *server_;
}

std::shared_ptr<SpeechObjectTokens> Sapi5Voice::GetVoices(const QString& required_attributes,
                                                          const QString& optional_attributes) {
  std::shared_ptr<SpeechObjectTokens> voices =
      Server().GetVoices(required_attributes, optional_attributes);
  // Callers count and index the collection straight away.
  if (!voices) throw Exception(QStringLiteral("The voice object returned no voice collection."));
  return voices;
}

void Sapi5Voice::SetVoice(const std::shared_ptr<SpeechObjectToken>& token) {
  Server().PutPropertyByName(QStringLiteral("Voice"), token);
}

void Sapi5Voice::SetRate(int rate) { Server().SetRate(rate); }

void Sapi5Voice::SetVolume(int volume) { Server().SetVolume(volume); }

int Sapi5Voice::Speak(const QString& text, unsigned flags) { return Server().Speak(text, flags); }

void Sapi5Voice::InvokeEvent(int dispatch_id, const QVariantList& arguments) {
  // Handlers are called through copies, so that a handler may replace itself.
  const auto stream_handler = [&](const StreamHandler handler) {
    if (!handler) return;
    const int stream_number = arguments.isEmpty() ? 0 : arguments.at(0).toInt();
    const QVariant position = arguments.size() > 1 ? arguments.at(1) : QVariant();
    handler(*this, stream_number, position);
  };
  switch (dispatch_id) {
    case SpeechVoiceServer::kStartStream:
      stream_handler(on_start_stream_);
      return;
    case SpeechVoiceServer::kEndStream:
      stream_handler(on_end_stream_);
      return;
    default:
      // The program listens to stream start and end only.
      return;
  }
}

}  // namespace voxmere
