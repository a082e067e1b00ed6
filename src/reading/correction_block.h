#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "reading/correction_row.h"

namespace voxmere {

// Applies a run of plain rows (rows[first, last), empty words allowed) to the
// text in one pass, with the same result as applying them one after another.
//
// One Aho-Corasick pass finds every occurrence of the rows' words in the
// text. The rows are then applied in table order on a virtual text: each row
// takes its occurrences from left to right that overlap neither a region an
// earlier row replaced nor its own previous match. That is exact as long as no
// earlier row has created a new occurrence of the row's word (a match running
// into or across an inserted text), so the text around every replacement is
// searched for the later rows' words; the run stops before the first row that
// could see such an occurrence. The text is then rebuilt once.
//
// Returns the index of the first row not applied (greater than `first`), or
// nothing when the occurrences exceeded the memory budget; the text is then
// unchanged and the caller should try a shorter run.
std::optional<size_t> ApplyCorrectionBlock(QString& text, const std::vector<CorrectionRow>& rows,
                                           size_t first, size_t last);

}  // namespace voxmere
