// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_voice_server.h"

#include <QVariant>
#include <algorithm>
#include <thread>

#include "platform/exception.h"
#include "platform/speechd/speechd_log.h"
#include "platform/speechd/speechd_utterance.h"

namespace voxmere {
namespace {

// How long Speak watches a text that begins at once: until the daemon says
// it began (warm, within a few milliseconds), and a little after, which is
// when a daemon without working sound dies (~6-10 ms here). The caller's
// thread waits meanwhile (the sound is not delayed), so the grace is kept
// short: it holds up every reading's hot key handling by as much.
constexpr std::chrono::milliseconds kStartWait(500);
constexpr std::chrono::milliseconds kStartGrace(50);

void SelectVoice(SpeechdLink& link, const SpeechdVoice& voice) {
  link.Check(spd_set_output_module(link.Connection(), voice.module.toUtf8().constData()),
             QStringLiteral("the output module \"%1\"").arg(voice.module));
  link.Check(spd_set_synthesis_voice(link.Connection(), voice.name.toUtf8().constData()),
             QStringLiteral("the voice \"%1\"").arg(voice.name));
}

void SelectRate(SpeechdLink& link, int rate) {
  link.Check(spd_set_voice_rate(link.Connection(), rate), QStringLiteral("the rate %1").arg(rate));
}

void SelectVolume(SpeechdLink& link, int volume) {
  link.Check(spd_set_volume(link.Connection(), volume),
             QStringLiteral("the volume %1").arg(volume));
}

void Cancel(SpeechdLink& link) {
  link.Check(spd_cancel(link.Connection()), QStringLiteral("to stop speaking"));
}

}  // namespace

SpeechdVoiceServer::SpeechdVoiceServer(SpeechdAddress address, bool autospawn,
                                       SpeechdTimeouts timeouts,
                                       std::shared_ptr<SpeechdVoiceCatalog> catalog)
    : address_(std::move(address)),
      autospawn_(autospawn),
      timeouts_(timeouts),
      catalog_(std::move(catalog)),
      receiver_(std::make_unique<QObject>()) {
  Session();
}

SpeechdVoiceServer::~SpeechdVoiceServer() {
  session_.reset();
  receiver_.reset();
}

SpeechdSession& SpeechdVoiceServer::Session() {
  if (session_ && session_->Alive()) return *session_;
  // Its reason was logged when the session was given up.
  if (session_) {
    qCWarning(SpeechdLog, "Reconnecting to %s: the session was lost",
              qUtf8Printable(address_.ToText()));
  }
  session_.reset();
  const int generation = ++generation_;
  session_ = SpeechdSession::Open(
      address_, autospawn_, timeouts_, receiver_.get(),
      [this, generation](bool start, int id) { OnStream(generation, start, id); });
  if (voice_ || rate_ || volume_) {
    session_->Call([voice = voice_, rate = rate_, volume = volume_](SpeechdLink& link) {
      if (voice) SelectVoice(link, *voice);
      if (rate) SelectRate(link, *rate);
      if (volume) SelectVolume(link, *volume);
    });
  }
  return *session_;
}

void SpeechdVoiceServer::OnStream(int generation, bool start, int message_id) {
  // Speak has recorded the stream before its events run: both happen on
  // this thread, the events only through its event loop.
  const auto found = streams_.find({generation, message_id});
  const int stream = found != streams_.end() ? found->second.number : next_stream_++;
  if (start) {
    streams_[{generation, message_id}] = {stream, true};
  } else if (found != streams_.end()) {
    streams_.erase(found);
  }
  const QVariantList arguments{QVariant(stream), QVariant(qlonglong{0})};
  const int dispatch_id = start ? kStartStream : kEndStream;
  // A sink may advise or unadvise while we call it.
  std::vector<EventSink> sinks;
  for (const auto& [cookie, sink] : sinks_) sinks.push_back(sink);
  for (const EventSink& sink : sinks) sink(dispatch_id, arguments);
}

int SpeechdVoiceServer::Advise(EventSink sink) {
  const int cookie = next_cookie_++;
  sinks_[cookie] = std::move(sink);
  return cookie;
}

void SpeechdVoiceServer::Unadvise(int cookie) {
  if (sinks_.erase(cookie) == 0) {
    throw Exception(QStringLiteral("No event sink is connected under the cookie %1.").arg(cookie));
  }
}

std::shared_ptr<SpeechObjectTokens> SpeechdVoiceServer::GetVoices(
    const QString& required_attributes, const QString& /*optional_attributes*/) {
  if (!required_attributes.trimmed().isEmpty()) {
    throw Exception(QStringLiteral("Speech Dispatcher voices cannot be chosen by attributes (%1).")
                        .arg(required_attributes));
  }
  const SpeechdVoiceCatalog::Voices voices = catalog_->Get();
  if (voices != listed_) {
    auto tokens = std::make_shared<SpeechdObjectTokens::Tokens>();
    for (const SpeechdVoice& voice : *voices) {
      tokens->push_back(std::make_shared<SpeechdObjectToken>(voice));
    }
    tokens_ = std::move(tokens);
    listed_ = voices;
  }
  return std::make_shared<SpeechdObjectTokens>(tokens_);
}

void SpeechdVoiceServer::PutPropertyByName(const QString& member_name,
                                           const std::shared_ptr<SpeechObjectToken>& value) {
  if (member_name.compare(u"Voice", Qt::CaseInsensitive) != 0) {
    throw Exception(QStringLiteral("The voice object has no property \"%1\".").arg(member_name));
  }
  const auto* token = dynamic_cast<const SpeechdObjectToken*>(value.get());
  if (token == nullptr) {
    throw Exception(QStringLiteral("The voice token is not a Speech Dispatcher voice."));
  }
  voice_ = token->Voice();
  Session().Call([voice = *voice_](SpeechdLink& link) { SelectVoice(link, voice); });
}

void SpeechdVoiceServer::SetRate(int rate) {
  rate_ = SpeechdRate(rate);
  Session().Call([value = *rate_](SpeechdLink& link) { SelectRate(link, value); });
}

void SpeechdVoiceServer::SetVolume(int volume) {
  volume_ = SpeechdVolume(volume);
  Session().Call([value = *volume_](SpeechdLink& link) { SelectVolume(link, value); });
}

int SpeechdVoiceServer::Speak(const QString& text, unsigned flags) {
  const bool purge = (flags & kFlagsPurgeBeforeSpeak) != 0;
  if (purge && text.isEmpty()) {
    Session().Call([](SpeechdLink& link) { Cancel(link); });
    return 0;
  }
  const SpeechdUtterance utterance = MakeSpeechdUtterance(text);
  SpeechdSession& session = Session();
  // speech-dispatcher 0.11 dies on the first sound it plays after the audio
  // server restarted (or while there is none): the text it was beginning is
  // lost, and nothing would say so. A text that begins at once is watched
  // through its first moments and spoken again on a new connection, with a
  // new daemon where libspeechd starts one; when that fails too, the reading
  // fails. Queued behind our own speech, a text is not waited for.
  const bool begins_at_once = purge || !session.Speaking();
  int message_id = Say(session, utterance, purge);
  if (begins_at_once && !session.SurvivesStart(message_id, kStartWait, kStartGrace)) {
    qCWarning(SpeechdLog,
              "Speech Dispatcher went away as it began a text; speaking it on a new connection");
    SpeechdSession& again = Reopen();
    message_id = Say(again, utterance, purge);
    if (!again.SurvivesStart(message_id, kStartWait, kStartGrace)) {
      throw Exception(QStringLiteral("Speech Dispatcher went away as it began the text."));
    }
  }
  const int stream = next_stream_++;
  streams_[{generation_, message_id}] = {stream, false};
  TrimUnstartedStreams();
  return stream;
}

SpeechdSession& SpeechdVoiceServer::Reopen() {
  const auto began = std::chrono::steady_clock::now();
  try {
    return Session();
  } catch (const Exception&) {
    // A dying daemon may still take a connection and drop it at once; a
    // failure that took its time (no sound) is not tried again.
    if (std::chrono::steady_clock::now() - began > kStartWait) throw;
  }
  std::this_thread::sleep_for(kStartGrace);
  return Session();
}

int SpeechdVoiceServer::Say(SpeechdSession& session, const SpeechdUtterance& utterance,
                            bool purge) {
  // The daemon answers once it has taken the whole text in: ~2 us a byte
  // here, so a text of a megabyte takes it two seconds.
  const auto taking_in = std::chrono::milliseconds(utterance.ssml.size() / 200);
  return session.Call<int>(
      [purge, utterance](SpeechdLink& link) {
        if (purge) Cancel(link);
        if (link.pitch != utterance.pitch) {
          link.Check(spd_set_voice_pitch(link.Connection(), utterance.pitch),
                     QStringLiteral("the pitch %1").arg(utterance.pitch));
          link.pitch = utterance.pitch;
        }
        const int id = spd_say(link.Connection(), SPD_MESSAGE, utterance.ssml.constData());
        if (id < 0) link.Check(-1, QStringLiteral("the text"));
        return id;
      },
      taking_in);
}

void SpeechdVoiceServer::TrimUnstartedStreams() {
  // Far more than the program ever queues; should one of these start after
  // all, it gets a new number (and its end the same one).
  constexpr std::size_t kKeptUnstarted = 64;
  std::vector<std::map<std::pair<int, int>, Stream>::iterator> unstarted;
  for (auto it = streams_.begin(); it != streams_.end(); ++it) {
    if (!it->second.started) unstarted.push_back(it);
  }
  if (unstarted.size() <= kKeptUnstarted) return;
  std::sort(unstarted.begin(), unstarted.end(),
            [](const auto& a, const auto& b) { return a->second.number < b->second.number; });
  for (std::size_t i = 0; i + kKeptUnstarted < unstarted.size(); ++i) streams_.erase(unstarted[i]);
}

}  // namespace voxmere
