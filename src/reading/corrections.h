// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "reading/correction_row.h"

namespace voxmere {

// Chunks of about this many characters keep the work of a large text in the
// processor's caches.
inline constexpr qsizetype kCorrectionChunk = qsizetype{1} << 16;

// Applies the rows in order, each with the replacement loop on the result of
// the rows before it.
//
// A character that occurs in no row's word or replacement (a line break, in
// most tables) can never be part of a match, be created or be removed, so
// the loop never carries anything across it: the text is cut after such
// characters into chunks of at least `chunk_size` characters, and each chunk
// goes through all rows on its own. Within a chunk most rows are applied in
// runs (see ApplyCorrectionRun); rows with very long words go alone through
// the streaming matcher.
QString ApplyCorrections(const QString& text, const std::vector<CorrectionRow>& rows,
                         qsizetype chunk_size = kCorrectionChunk);

}  // namespace voxmere
