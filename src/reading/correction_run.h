// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "reading/correction_row.h"

namespace voxmere {

class AhoCorasick;

// Runs count positions in 32 bits: they take texts shorter than this, and a
// run stops once its text has grown to it.
inline constexpr qsizetype kLongestRunText = qsizetype{1} << 31;

// What a run needs to know about its rows, rows[first, last) (empty words
// allowed, every word at most a few hundred characters): built once, used for
// every text the rows are applied to.
struct CorrectionPatterns {
  CorrectionPatterns(const std::vector<CorrectionRow>& rows, size_t first, size_t last);
  ~CorrectionPatterns();

  const std::vector<CorrectionRow>& rows;
  const size_t first;
  const size_t last;
  std::unique_ptr<AhoCorasick> automaton;  // the rows' words, A to Z folded, once each
  std::vector<int> row_pattern;            // by row - first: pattern, or -1 for an empty word
  std::vector<int> longest_after;          // by row - first: longest word of the later rows
  std::vector<std::vector<size_t>> pattern_rows;  // by pattern: its rows, in order
  std::vector<size_t> pattern_last_row;
};

// Applies the rows to the text with the same result as applying them one
// after another with the replacement loop, without a pass over the whole
// text per row.
//
// One Aho-Corasick pass lists every occurrence of the rows' words. The rows
// are then applied in table order to a virtual text (the text plus the
// regions replaced so far): each row takes its listed occurrences from left
// to right that overlap no replaced region, skipping those its own previous
// match rules out; where the replacement's tail can begin a new match with
// what follows, that chained match is followed at once. This is exact as
// long as no earlier row has created a new occurrence of the row's word (a
// match running into or across a replaced region), so the text around every
// new region is searched for the later rows' words, and the rows stop before
// the first one that could see such an occurrence. The text is then rebuilt
// once, the listed occurrences are carried over to it and completed by a
// search around the replaced regions alone, and the next row goes on.
//
// Returns the index of the first row not applied, or nothing when the first
// pass found more occurrences than the memory budget allows (the text is then
// unchanged and the caller should take fewer rows). Rows are applied as long
// as they can be; a first row that cannot (which does not happen with the
// rules above, but is not assumed) is left to the caller.
std::optional<size_t> ApplyCorrectionRun(QString& text, const CorrectionPatterns& patterns);

}  // namespace voxmere
