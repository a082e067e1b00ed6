// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <map>
#include <memory>
#include <optional>

#include "platform/speech_voice.h"
#include "platform/speechd/speechd_address.h"
#include "platform/speechd/speechd_session.h"
#include "platform/speechd/speechd_utterance.h"
#include "platform/speechd/speechd_voice_catalog.h"
#include "platform/speechd/speechd_voice_tokens.h"

namespace voxmere {

// The voice object on speech-dispatcher. Lives on the user-interface thread,
// which must run an event loop for the start and end events to arrive.
// Every call waits for the daemon a bounded time. When the connection is
// lost (the daemon restarted, or stopped answering) the next call opens a
// new one and sets the voice, rate and volume again.
class SpeechdVoiceServer : public SpeechVoiceServer {
 public:
  // Opens the connection; throws voxmere::Exception when the daemon cannot
  // be used (see SpeechdSession::Open).
  SpeechdVoiceServer(SpeechdAddress address, bool autospawn, SpeechdTimeouts timeouts,
                     std::shared_ptr<SpeechdVoiceCatalog> catalog);
  ~SpeechdVoiceServer() override;

  int Advise(EventSink sink) override;
  void Unadvise(int cookie) override;
  // Every voice for empty attributes; the optional attributes only order
  // voices on Windows and are ignored, required ones cannot be matched here
  // and throw.
  std::shared_ptr<SpeechObjectTokens> GetVoices(const QString& required_attributes,
                                                const QString& optional_attributes) override;
  void PutPropertyByName(const QString& member_name,
                         const std::shared_ptr<SpeechObjectToken>& value) override;
  void SetRate(int rate) override;
  void SetVolume(int volume) override;
  // Queues the text (as one message) behind current speech, after purging
  // first with kFlagsPurgeBeforeSpeak; returns the stream number (counting
  // from 1), 0 for a purge with no text.
  int Speak(const QString& text, unsigned flags) override;

 private:
  SpeechdSession& Session();
  // Session() after the daemon died, trying twice when the first attempt
  // failed at once.
  SpeechdSession& Reopen();
  // Sends the text on the session (purging first when asked); its message id.
  int Say(SpeechdSession& session, const SpeechdUtterance& utterance, bool purge);
  void OnStream(int generation, bool start, int message_id);
  // Messages dropped by a purge before they began send no event at all: keep
  // only the latest few streams that have not started.
  void TrimUnstartedStreams();

  const SpeechdAddress address_;
  const bool autospawn_;
  const SpeechdTimeouts timeouts_;
  const std::shared_ptr<SpeechdVoiceCatalog> catalog_;
  // Declared before the session, so that it outlives it: pending events die
  // with it.
  std::unique_ptr<QObject> receiver_;
  std::unique_ptr<SpeechdSession> session_;

  std::map<int, EventSink> sinks_;
  int next_cookie_ = 1;

  // Message ids start again at 1 on every connection: streams get numbers
  // of their own, unique for the object, keyed by connection and message.
  struct Stream {
    int number = 0;
    bool started = false;
  };
  int generation_ = 0;
  int next_stream_ = 1;
  std::map<std::pair<int, int>, Stream> streams_;

  // What was set, to set again on a new connection.
  std::optional<SpeechdVoice> voice_;
  std::optional<int> rate_;
  std::optional<int> volume_;

  SpeechdVoiceCatalog::Voices listed_;
  std::shared_ptr<const SpeechdObjectTokens::Tokens> tokens_;
};

}  // namespace voxmere
