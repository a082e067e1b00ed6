// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/synthesis_pieces.h"

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
bool EndsSentence(const QByteArray& text, qsizetype at, qsizetype end) {
  const char c = text[at];
  if (c == '.' || c == '!' || c == '?') return end == text.size() || IsBlank(text[end]);
  const QByteArray character = text.mid(at, end - at);
  return character == "\xE3\x80\x82" || character == "\xEF\xBC\x81" || character == "\xEF\xBC\x9F";
}

void Add(std::vector<SynthesisPiece>* pieces, const QByteArray& text, qsizetype from, qsizetype to,
         bool ends_sentence) {
  QByteArray piece = text.mid(from, to - from);
  if (piece.trimmed().isEmpty()) return;
  pieces->push_back({std::move(piece), ends_sentence});
}

}  // namespace

std::vector<SynthesisPiece> SplitForSynthesis(const QByteArray& text, qsizetype soft,
                                              qsizetype hard) {
  std::vector<SynthesisPiece> pieces;
  qsizetype start = 0;
  qsizetype after_blank = -1;  // the position after the piece's last blank
  for (qsizetype at = 0; at < text.size();) {
    const qsizetype end = std::min(text.size(), at + CharacterLength(text[at]));
    if (IsBlank(text[at])) after_blank = end;
    if (end - start >= soft && EndsSentence(text, at, end)) {
      Add(&pieces, text, start, end, true);
      start = end;
      after_blank = -1;
    } else if (end - start >= hard) {
      const qsizetype cut = after_blank > start ? after_blank : end;
      Add(&pieces, text, start, cut, false);
      start = cut;
      after_blank = -1;
    }
    at = end;
  }
  Add(&pieces, text, start, text.size(), false);
  return pieces;
}

}  // namespace voxmere
