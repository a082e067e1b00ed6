// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <vector>

namespace voxmere {

// A stretch of a text that espeak-ng synthesises in one go.
struct SynthesisPiece {
  QByteArray text;
  bool ends_sentence = false;  // synthesised with the pause that ends a sentence
};

// Cuts UTF-8 text into pieces at sentence ends once a piece has `soft` bytes,
// or at the last blank (else at a character boundary) once it has `hard`
// bytes. Synthesis can then wait between pieces while much sound is still to
// be played: a long text never piles up its whole sound in memory, and the
// synthesis callback never has to wait. Control characters other than
// blanks become blanks (espeak-ng would take Ctrl+A for the start of a
// command); pieces of blanks only are left out.
//
// One piece at a time: the text (which must outlive the cursor) is not
// copied beyond the piece given.
class SynthesisPieceCursor {
 public:
  explicit SynthesisPieceCursor(QByteArrayView text, qsizetype soft = 400, qsizetype hard = 2000)
      : text_(text), soft_(soft), hard_(hard) {}

  // The next piece, or nothing at the end.
  std::optional<SynthesisPiece> Next();

 private:
  QByteArrayView text_;
  qsizetype soft_;
  qsizetype hard_;
  qsizetype start_ = 0;         // of the piece being cut
  qsizetype at_ = 0;            // the next character looked at
  qsizetype after_blank_ = -1;  // the position after the piece's last blank
};

// Every piece of the text at once.
std::vector<SynthesisPiece> SplitForSynthesis(const QByteArray& text, qsizetype soft = 400,
                                              qsizetype hard = 2000);

}  // namespace voxmere
