// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/correction_row.h"

namespace voxmere {
namespace {

// Streams characters through a KMP automaton of the (folded) word.
class WordMatcher {
 public:
  explicit WordMatcher(const CorrectionRow& row)
      : word_(reinterpret_cast<const char16_t*>(row.folded_word.utf16())),
        length_(static_cast<int>(row.folded_word.size())),
        ignore_case_(row.ignore_case),
        borders_(BorderTable(row.folded_word)) {}

  // True when the character completes a match; the matcher then starts afresh.
  bool Feed(char16_t c) {
    if (ignore_case_) c = FoldAsciiCase(c);
    while (state_ > 0 && word_[state_] != c) state_ = borders_[state_ - 1];
    if (word_[state_] == c) ++state_;
    if (state_ < length_) return false;
    state_ = 0;
    return true;
  }
  void Reset() { state_ = 0; }
  int State() const { return state_; }
  int Length() const { return length_; }

 private:
  const char16_t* word_;
  int length_;
  bool ignore_case_;
  std::vector<int> borders_;
  int state_ = 0;
};

}  // namespace

QString FoldedCopy(QStringView text) {
  QString folded = text.toString();
  for (QChar& c : folded) c = QChar(FoldAsciiCase(c.unicode()));
  return folded;
}

std::vector<int> BorderTable(QStringView pattern) {
  std::vector<int> borders(pattern.size(), 0);
  int k = 0;
  for (qsizetype i = 1; i < pattern.size(); ++i) {
    while (k > 0 && pattern[i] != pattern[k]) k = borders[k - 1];
    if (pattern[i] == pattern[k]) ++k;
    borders[i] = k;
  }
  return borders;
}

CorrectionRow MakeCorrectionRow(const QString& word, const QString& replacement, bool ignore_case) {
  CorrectionRow row;
  row.word = word;
  row.folded_word = ignore_case ? FoldedCopy(word) : word;
  row.replacement = replacement;
  row.ignore_case = ignore_case;
  if (word.isEmpty()) return row;
  // Run the word's matcher over the replacement after its first character: a
  // match means the loop would never end; a partial match left at the end
  // means the inserted text's tail can begin a match with what follows.
  WordMatcher matcher(row);
  bool found = false;
  for (qsizetype i = 1; i < replacement.size() && !found; ++i) {
    found = matcher.Feed(replacement[i].unicode());
  }
  row.resumes_after_replacement = found;
  if (!found) {
    // The matcher's final state is the longest tail that is a prefix of the
    // word; the borders of that prefix give the shorter ones.
    const std::vector<int> borders = BorderTable(row.folded_word);
    for (int length = matcher.State(); length > 0; length = borders[length - 1]) {
      row.chain_starts.push_back(static_cast<int>(replacement.size()) - length);
    }
  }
  return row;
}

QString ApplyRowStreaming(QStringView text, const CorrectionRow& row) {
  if (row.word.isEmpty()) return text.toString();
  WordMatcher matcher(row);
  const qsizetype length = matcher.Length();
  const qsizetype size = text.size();
  QString out;
  out.reserve(size);
  // The loop searches `pending` (what is left of the last inserted text after
  // its first character) and then text[next..]. Characters of text[flushed,
  // next) have been read but not yet written out; pending characters are
  // written as they are read.
  QString pending;
  qsizetype pending_at = 0;
  qsizetype next = 0;
  qsizetype flushed = 0;
  while (true) {
    if (pending_at < pending.size()) {
      const QChar c = pending[pending_at++];
      out.append(c);
      if (!matcher.Feed(c.unicode())) continue;
      out.chop(length);
    } else if (next < size) {
      if (!matcher.Feed(text[next++].unicode())) continue;
      const qsizetype unwritten = next - flushed;
      if (unwritten >= length) {
        out.append(text.mid(flushed, unwritten - length));
      } else {
        out.chop(length - unwritten);  // the match began in the pending text
      }
      flushed = next;
    } else {
      break;
    }
    // A match: `out` holds everything before it; the loop's result is now
    // out + replacement + rest, and the search goes on one character into it.
    if (row.resumes_after_replacement) {
      out.append(row.replacement);
    } else if (!row.replacement.isEmpty()) {
      out.append(row.replacement[0]);
      pending = row.replacement.mid(1) + pending.mid(pending_at);
      pending_at = 0;
    } else if (pending_at < pending.size()) {
      out.append(pending[pending_at++]);
    } else if (next < size) {
      out.append(text[next++]);
      flushed = next;
    }
  }
  out.append(text.mid(flushed));
  return out;
}

}  // namespace voxmere
