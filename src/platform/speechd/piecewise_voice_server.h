// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <deque>
#include <map>
#include <memory>
#include <set>

#include "platform/speech_voice.h"

namespace voxmere {

// Hands a long text to the voice object a piece at a time. speech-dispatcher
// takes in a message whole before it speaks any of it (about 2 us a byte:
// 40 s for 20 MB) and holds it all, so a long selection would start late and
// be held again by the daemon. Here each text is cut into pieces at sentence
// ends or blanks; the first piece is spoken at once, and the next is sent as
// soon as the one before starts, so that one piece waits in the daemon while
// one plays and no gap opens between them.
//
// To its caller it is one voice object with one stream per text: the first
// piece's start is the text's start, the last piece's end the text's end.
// Texts queue behind each other in the order spoken. A purge drops the
// pieces not yet sent, and the piece that plays ends the text it belongs to.
// A text of one piece goes through as it is; each piece of a longer one
// carries the text's pitch in a leading tag of its own.
class PiecewiseVoiceServer : public SpeechVoiceServer {
 public:
  // About a minute of speech.
  static constexpr qsizetype kPieceSize = 4000;

  explicit PiecewiseVoiceServer(std::shared_ptr<SpeechVoiceServer> inner,
                                qsizetype piece_size = kPieceSize);
  ~PiecewiseVoiceServer() override;
  PiecewiseVoiceServer(const PiecewiseVoiceServer&) = delete;
  PiecewiseVoiceServer& operator=(const PiecewiseVoiceServer&) = delete;

  int Advise(EventSink sink) override;
  void Unadvise(int cookie) override;
  std::shared_ptr<SpeechObjectTokens> GetVoices(const QString& required_attributes,
                                                const QString& optional_attributes) override;
  void PutPropertyByName(const QString& member_name,
                         const std::shared_ptr<SpeechObjectToken>& value) override;
  void SetRate(int rate) override;
  void SetVolume(int volume) override;
  // A failure to send the first piece of a text that did not have to wait
  // throws; a later piece that fails ends its text early (logged).
  int Speak(const QString& text, unsigned flags) override;

 private:
  // A text with pieces still to send.
  struct Text {
    int stream = 0;
    QString text;  // shared with the caller's, never copied whole
    int pitch = 0;
    qsizetype next = 0;  // the words still to send are [next, end)
    qsizetype end = 0;
    bool first_sent = false;
  };
  // A piece in the daemon, until its end.
  struct Piece {
    int stream = 0;  // of its text
    bool last = false;
    bool started = false;
  };

  bool PieceWaitsToStart() const;
  // Sends the first waiting text's next piece; throws when the voice does.
  void SendNext();
  // Sends while no piece waits in the daemon to start; a failure drops the
  // text it belonged to.
  void Feed();
  void OnInnerEvent(int dispatch_id, const QVariantList& arguments);
  void Emit(int dispatch_id, int stream, const QVariantList& arguments);

  std::shared_ptr<SpeechVoiceServer> inner_;
  const qsizetype piece_size_;
  int inner_cookie_ = 0;
  std::map<int, EventSink> sinks_;
  int next_cookie_ = 1;
  int next_stream_ = 1;
  std::deque<Text> waiting_;
  std::map<int, Piece> sent_;  // by the inner stream number
  // Pieces a purge dropped before the daemon said they started: their
  // text's stream, by the inner stream number; the latest few.
  static constexpr std::size_t kKeptDropped = 64;
  std::map<int, int> dropped_;
  // The texts whose start was passed on and whose end was not yet.
  std::set<int> sounding_;
  // Alive while this object is: events that come after it went find nothing.
  std::shared_ptr<PiecewiseVoiceServer*> self_;
};

}  // namespace voxmere
