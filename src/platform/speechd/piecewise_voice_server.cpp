// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/piecewise_voice_server.h"

#include <QVariant>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/exception.h"
#include "platform/speechd/sapi_markup.h"
#include "platform/speechd/speechd_log.h"

namespace voxmere {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Where the piece from `from` ends: after the last sentence end, else after
// the last blank, in the second half of a piece's length; else at its length,
// never inside a surrogate pair.
qsizetype PieceEnd(const QString& text, qsizetype from, qsizetype end, qsizetype size) {
  if (end - from <= size) return end;
  const qsizetype limit = from + size;
  qsizetype after_blank = -1;
  for (qsizetype at = limit; at > from + size / 2; --at) {
    if (!IsBlank(text[at - 1])) continue;
    const QChar before = text[at - 2];
    if (before == u'.' || before == u'!' || before == u'?' || text[at - 1] == u'\n') return at;
    if (after_blank < 0) after_blank = at;
  }
  if (after_blank > 0) return after_blank;
  return text[limit - 1].isHighSurrogate() ? limit + 1 : limit;
}

}  // namespace

PiecewiseVoiceServer::PiecewiseVoiceServer(std::shared_ptr<SpeechVoiceServer> inner,
                                           qsizetype piece_size)
    : inner_(std::move(inner)),
      piece_size_(std::max<qsizetype>(piece_size, 4)),
      self_(std::make_shared<PiecewiseVoiceServer*>(this)) {
  std::weak_ptr<PiecewiseVoiceServer*> link = self_;
  inner_cookie_ = inner_->Advise([link](int dispatch_id, const QVariantList& arguments) {
    if (const std::shared_ptr<PiecewiseVoiceServer*> self = link.lock(); self && *self) {
      (*self)->OnInnerEvent(dispatch_id, arguments);
    }
  });
}

PiecewiseVoiceServer::~PiecewiseVoiceServer() {
  *self_ = nullptr;
  try {
    inner_->Unadvise(inner_cookie_);
  } catch (...) {
    // The inner object goes with us; its sink finds nothing.
  }
}

int PiecewiseVoiceServer::Advise(EventSink sink) {
  const int cookie = next_cookie_++;
  sinks_[cookie] = std::move(sink);
  return cookie;
}

void PiecewiseVoiceServer::Unadvise(int cookie) {
  if (sinks_.erase(cookie) == 0) {
    throw Exception(QStringLiteral("No event sink is connected under the cookie %1.").arg(cookie));
  }
}

std::shared_ptr<SpeechObjectTokens> PiecewiseVoiceServer::GetVoices(
    const QString& required_attributes, const QString& optional_attributes) {
  return inner_->GetVoices(required_attributes, optional_attributes);
}

void PiecewiseVoiceServer::PutPropertyByName(const QString& member_name,
                                             const std::shared_ptr<SpeechObjectToken>& value) {
  inner_->PutPropertyByName(member_name, value);
}

void PiecewiseVoiceServer::SetRate(int rate) { inner_->SetRate(rate); }

void PiecewiseVoiceServer::SetVolume(int volume) { inner_->SetVolume(volume); }

int PiecewiseVoiceServer::Speak(const QString& text, unsigned flags) {
  if ((flags & kFlagsPurgeBeforeSpeak) != 0) {
    // The piece that plays ends its text. Pieces the daemon had not started
    // go without events, unless it started one before the purge reached it.
    waiting_.clear();
    for (auto it = sent_.begin(); it != sent_.end();) {
      if (it->second.started) {
        it->second.last = true;
        ++it;
      } else {
        dropped_[it->first] = it->second.stream;
        it = sent_.erase(it);
      }
    }
    while (dropped_.size() > kKeptDropped) dropped_.erase(dropped_.begin());
    if (text.isEmpty()) return inner_->Speak(text, flags);
    inner_->Speak(QString(), flags);
  }
  const SapiMarkupText read = ReadSapiMarkup(text);
  const int stream = next_stream_++;
  waiting_.push_back({stream, text, read.pitch, read.begin, read.end, false});
  // Behind the pieces of a long text it waits its turn; otherwise its first
  // piece goes now, queued in the daemon behind what it has.
  if (waiting_.size() == 1) {
    try {
      SendNext();
    } catch (...) {
      waiting_.pop_back();
      throw;
    }
  }
  return stream;
}

bool PiecewiseVoiceServer::PieceWaitsToStart() const {
  return std::any_of(sent_.begin(), sent_.end(),
                     [](const auto& entry) { return !entry.second.started; });
}

void PiecewiseVoiceServer::SendNext() {
  Text& text = waiting_.front();
  const qsizetype cut = PieceEnd(text.text, text.next, text.end, piece_size_);
  const Piece piece{text.stream, cut == text.end, false};
  int inner_stream = 0;
  if (!text.first_sent && piece.last) {
    inner_stream = inner_->Speak(text.text, kFlagsAsync);
  } else {
    // The empty form of the tag: a piece that happens to end with a closing
    // tag keeps it as words.
    QString piece_text = QStringLiteral("<pitch middle=\"%1\"/>").arg(text.pitch);
    piece_text += QStringView(text.text).sliced(text.next, cut - text.next);
    inner_stream = inner_->Speak(piece_text, kFlagsAsync);
  }
  sent_[inner_stream] = piece;
  text.first_sent = true;
  text.next = cut;
  if (piece.last) waiting_.pop_front();
}

void PiecewiseVoiceServer::Feed() {
  while (!waiting_.empty() && !PieceWaitsToStart()) {
    const int stream = waiting_.front().stream;
    try {
      SendNext();
    } catch (...) {
      qCWarning(SpeechdLog, "A long text was cut short: its next piece could not be sent: %s",
                qUtf8Printable(CurrentExceptionMessage()));
      waiting_.pop_front();
      // Its piece that plays ends it; with none left, it ends now.
      bool playing = false;
      for (auto& [inner_stream, piece] : sent_) {
        if (piece.stream != stream) continue;
        piece.last = true;
        playing = true;
      }
      if (!playing && sounding_.erase(stream) > 0) Emit(kEndStream, stream, {stream, 0});
    }
  }
}

void PiecewiseVoiceServer::OnInnerEvent(int dispatch_id, const QVariantList& arguments) {
  if (dispatch_id != kStartStream && dispatch_id != kEndStream) {
    Emit(dispatch_id, arguments.value(0).toInt(), arguments);
    return;
  }
  const int inner_stream = arguments.value(0).toInt();
  auto found = sent_.find(inner_stream);
  if (found == sent_.end()) {
    // A piece dropped by a purge that the daemon had started after all: it
    // starts and ends its text. The end of a piece of a text that has ended
    // is not passed on.
    if (dispatch_id == kEndStream) return;
    const auto dropped = dropped_.find(inner_stream);
    const int stream = dropped != dropped_.end() ? dropped->second : next_stream_++;
    if (dropped != dropped_.end()) dropped_.erase(dropped);
    sent_[inner_stream] = {stream, true, true};
    if (sounding_.insert(stream).second) Emit(kStartStream, stream, arguments);
    return;
  }
  Piece& piece = found->second;
  const int stream = piece.stream;
  if (dispatch_id == kStartStream) {
    piece.started = true;
    Feed();
    // Its first piece to start starts the text.
    if (sounding_.insert(stream).second) Emit(kStartStream, stream, arguments);
    return;
  }
  const bool last = piece.last;
  sent_.erase(found);
  // A text ends once, whichever of its pieces ends it.
  if (last)
    std::erase_if(sent_, [stream](const auto& entry) { return entry.second.stream == stream; });
  Feed();
  // Only a text that started ends: a piece the daemon lost unstarted is
  // followed by the next one.
  if (last && sounding_.erase(stream) > 0) Emit(kEndStream, stream, arguments);
}

void PiecewiseVoiceServer::Emit(int dispatch_id, int stream, const QVariantList& arguments) {
  QVariantList mapped = arguments;
  if (mapped.isEmpty()) mapped.append(QVariant());
  mapped[0] = stream;
  // A sink may advise or unadvise while we call it.
  std::vector<EventSink> sinks;
  for (const auto& [cookie, sink] : sinks_) sinks.push_back(sink);
  for (const EventSink& sink : sinks) sink(dispatch_id, mapped);
}

}  // namespace voxmere
