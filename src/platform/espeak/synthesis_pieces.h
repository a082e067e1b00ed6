// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
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
// synthesis callback never has to wait. Pieces of blanks only are left out.
std::vector<SynthesisPiece> SplitForSynthesis(const QByteArray& text, qsizetype soft = 400,
                                              qsizetype hard = 2000);

}  // namespace voxmere
