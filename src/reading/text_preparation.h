// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "pronunciation/pronunciation_entry.h"

namespace voxmere {

// The replacement loop of the program: replace the first occurrence of `word`
// at or after the search start, then search again from one character after
// the start of the inserted text (so a match may begin inside the inserted
// text and run into the rest). An empty word is never found. When the
// replacement contains the word again after its first character, the loop
// would never end; for such a word the search resumes after the inserted text.
// Runs in time linear in the text and the result.
QString ReplaceAll(const QString& text, const QString& word, const QString& replacement);

// The same loop, matching without regard to case: only A to Z are taken as a
// to z; every other character, accented letters included, must match exactly.
// Text outside the matches keeps its case.
QString ReplaceAllIgnoringCase(const QString& text, const QString& word,
                               const QString& replacement);

// Every character of the text that is listed becomes a blank. Characters are
// taken whole: a listed character outside the Basic Multilingual Plane turns
// its surrogate pair into one blank; a lone surrogate half that is listed
// matches only a lone half, never half of a pair. A text given over (moved)
// is changed in place when no listed character is outside that plane.
QString BlankIgnoredCharacters(QString text, const QString& ignored_characters);

// What text preparation reads from the Pronunciation page.
struct PreparationInputs {
  bool ignore_characters = false;
  QString ignored_characters;
  bool words_corrections = false;
  const PronunciationTable* corrections = nullptr;
};

// Turns the captured text into the text to speak: ignored characters become
// blanks (when switched on), then each correction row in table order replaces
// its word on the result of the rows before it (when switched on). A row
// matches without regard to case exactly when its flag is "No". Nothing else
// is done to the text.
//
// Equal to running ReplaceAll row by row, but many rows are applied in one
// pass over the text, so that a large table on a large text stays fast.
QString PrepareText(QString captured, const PreparationInputs& inputs);

}  // namespace voxmere
