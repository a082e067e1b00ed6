// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/synthesis_pieces.h"

#include <algorithm>
#include <utility>

namespace voxmere {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// Bytes of the UTF-8 character starting with `lead`; stray bytes count alone.
qsizetype CharacterLength(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  if (byte >= 0xF0 && byte <= 0xF7) return 4;
  if (byte >= 0xE0) return byte <= 0xEF ? 3 : 1;
  if (byte >= 0xC0) return 2;
  return 1;
}

// "." "!" "?" before a blank or the end; the ideographic full stop and the
// full-width "!" and "?" anywhere.
bool EndsSentence(QByteArrayView text, qsizetype at, qsizetype end) {
  const char c = text[at];
  if (c == '.' || c == '!' || c == '?') return end == text.size() || IsBlank(text[end]);
  if (end - at != 3) return false;
  const QByteArrayView character = text.sliced(at, 3);
  return character == "\xE3\x80\x82" || character == "\xEF\xBC\x81" || character == "\xEF\xBC\x9F";
}

// A piece of blanks only is left out. Control characters become blanks:
// espeak-ng takes Ctrl+A and what follows it ("\x01" "0A") as a command
// (here: volume 0), even in plain text, and the others are not words.
std::optional<SynthesisPiece> Piece(QByteArrayView text, qsizetype from, qsizetype to,
                                    bool ends_sentence) {
  QByteArray piece = text.sliced(from, to - from).toByteArray();
  for (char& c : piece) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && !IsBlank(c)) || byte == 0x7F) c = ' ';
  }
  if (piece.trimmed().isEmpty()) return std::nullopt;
  return SynthesisPiece{std::move(piece), ends_sentence};
}

}  // namespace

std::optional<SynthesisPiece> SynthesisPieceCursor::Next() {
  while (at_ < text_.size()) {
    const qsizetype end = std::min(text_.size(), at_ + CharacterLength(text_[at_]));
    if (IsBlank(text_[at_])) after_blank_ = end;
    qsizetype cut = -1;
    bool ends_sentence = false;
    if (end - start_ >= soft_ && EndsSentence(text_, at_, end)) {
      cut = end;
      ends_sentence = true;
    } else if (end - start_ >= hard_) {
      cut = after_blank_ > start_ ? after_blank_ : end;
    }
    at_ = end;
    if (cut < 0) continue;
    const qsizetype from = std::exchange(start_, cut);
    after_blank_ = -1;
    if (std::optional<SynthesisPiece> piece = Piece(text_, from, cut, ends_sentence)) return piece;
  }
  if (start_ >= text_.size()) return std::nullopt;
  return Piece(text_, std::exchange(start_, text_.size()), text_.size(), false);
}

std::vector<SynthesisPiece> SplitForSynthesis(const QByteArray& text, qsizetype soft,
                                              qsizetype hard) {
  std::vector<SynthesisPiece> pieces;
  SynthesisPieceCursor cursor(text, soft, hard);
  while (std::optional<SynthesisPiece> piece = cursor.Next()) pieces.push_back(std::move(*piece));
  return pieces;
}

}  // namespace voxmere
