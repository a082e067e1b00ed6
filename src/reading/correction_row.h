// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace voxmere {

// Case-insensitive matching turns only the 26 letters A to Z into a to z;
// every other character is compared exactly, as the Windows program did.
constexpr char16_t FoldAsciiCase(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// A copy with A to Z turned into a to z.
QString FoldedCopy(QStringView text);

// One correction, analysed once for the matchers.
//
// The replacement loop replaces a match at p and searches again from p + 1,
// one character into the text it has just inserted. A later match may thus
// begin inside the inserted text and run on into the rest. A replacement that contains the word
// again after its first character (as the row compares) would make that loop run for ever. Such a
// row searches on after the text it inserted instead.
struct CorrectionRow {
  QString word;
  QString folded_word;  // A to Z folded when ignore_case, else the word itself
  QString replacement;
  bool ignore_case = false;
  bool resumes_after_replacement = false;
  // For a row that does not resume after its replacement: the offsets j >= 1
  // at which the replacement's tail replacement[j..] is a proper prefix of the
  // word (as the row compares), smallest first. After a replacement the loop's next match
  // begins at the first such j whose tail the following text completes, if
  // any, else after the inserted text.
  std::vector<int> chain_starts;
};

CorrectionRow MakeCorrectionRow(const QString& word, const QString& replacement, bool ignore_case);

// The KMP failure function of a pattern: for each prefix length i + 1, the
// length of its longest proper border.
std::vector<int> BorderTable(QStringView pattern);

// Applies one row to the whole text with the replacement loop's exact
// semantics, in time linear in the text and the output: a streaming matcher
// reads the text that the loop would search (the tail of the last inserted
// text, then the rest of the original) and writes out what can no longer
// change.
QString ApplyRowStreaming(QStringView text, const CorrectionRow& row);

}  // namespace voxmere
