// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/correction_run.h"

#include <QHash>
#include <algorithm>
#include <cstdint>
#include <memory>

#include "reading/aho_corasick.h"
#include "reading/region_map.h"

namespace voxmere {
namespace {

struct Occurrence {
  uint32_t at;
  int32_t pattern;
};

bool SameUnits(const char16_t* a, QStringView b) {
  return std::equal(b.utf16(), b.utf16() + b.size(), a);
}

bool SameAsRowCompares(const char16_t* text, QStringView folded_word, bool ignore_case) {
  if (!ignore_case) return SameUnits(text, folded_word);
  for (qsizetype i = 0; i < folded_word.size(); ++i) {
    if (FoldAsciiCase(text[i]) != folded_word[i].unicode()) return false;
  }
  return true;
}

class CorrectionRun {
 public:
  explicit CorrectionRun(const CorrectionPatterns& patterns)
      : rows_(patterns.rows),
        first_(patterns.first),
        last_(patterns.last),
        automaton_(*patterns.automaton),
        row_pattern_(patterns.row_pattern),
        longest_after_(patterns.longest_after),
        pattern_rows_(patterns.pattern_rows),
        pattern_last_row_(patterns.pattern_last_row) {}

  std::optional<size_t> Apply(QString& text) {
    text_ = text;
    UseText();
    if (!ScanAll()) return std::nullopt;
    size_t next = first_;
    while (true) {
      Bucket();
      regions_.Reset(size_, occurrences_.size());
      const size_t end = ApplyRows(next);
      if (end == next) break;  // the round's first row could not be applied here
      next = end;
      if (!spare_.isDetached()) spare_ = QString();  // never write into the caller's text
      regions_.Rebuild(data_, size_, spare_, moves_);
      text_.swap(spare_);
      if (text_.size() >= kLongestRunText) break;  // the caller streams the rest
      UseText();
      if (next >= last_ || !Reseed(next)) break;
    }
    text = text_;
    return next;
  }

 private:
  void UseText() {
    data_ = reinterpret_cast<const char16_t*>(text_.utf16());
    size_ = static_cast<uint32_t>(text_.size());
  }

  // Occurrences are counted in 32 bits too.
  size_t Budget() const {
    return std::min<size_t>(4 * size_t{size_} + (size_t{1} << 20), uint32_t{0x7FFFFFFF});
  }
  bool Needed(int pattern, size_t from) const { return pattern_last_row_[pattern] >= from; }

  bool ScanAll() {
    occurrences_.clear();
    AhoCorasick::State state = AhoCorasick::kStart;
    for (uint32_t i = 0; i < size_; ++i) {
      state = automaton_.Step(state, FoldAsciiCase(data_[i]));
      if (!automaton_.HasMatch(state)) continue;
      automaton_.ForEachMatch(state, [&](int pattern) {
        occurrences_.push_back({i + 1 - automaton_.PatternLength(pattern), pattern});
      });
      if (occurrences_.size() > Budget()) return false;
    }
    return true;
  }

  // Occurrences by pattern, each in text order.
  void Bucket() {
    offsets_.assign(pattern_rows_.size() + 1, 0);
    for (const Occurrence& o : occurrences_) ++offsets_[o.pattern + 1];
    for (size_t p = 1; p < offsets_.size(); ++p) offsets_[p] += offsets_[p - 1];
    positions_.resize(occurrences_.size());
    cursors_.assign(offsets_.begin(), offsets_.end() - 1);
    for (const Occurrence& o : occurrences_) positions_[cursors_[o.pattern]++] = o.at;
  }

  // Applies rows from `from` on to the virtual text; returns the first row not applied.
  size_t ApplyRows(size_t from) {
    end_ = last_;
    for (size_t k = from; k < end_; ++k) {
      if (row_pattern_[k - first_] < 0) continue;
      const size_t mark = regions_.Count();
      if (!ApplyRow(k)) {
        regions_.Truncate(mark);
        end_ = k;
        break;
      }
      if (longest_after_[k - first_] == 0) continue;
      for (size_t id = mark; id < regions_.Count(); ++id) CheckSite(static_cast<uint32_t>(id), k);
    }
    return end_;
  }

  // False when a chained match would run into a region of an earlier row: the
  // row is then left to the next round, where it comes first.
  bool ApplyRow(size_t k) {
    const CorrectionRow& row = rows_[k];
    const int pattern = row_pattern_[k - first_];
    const auto length = static_cast<uint32_t>(row.word.size());
    const auto spoken = static_cast<uint32_t>(row.replacement.size());
    uint32_t searched_to = 0;
    for (uint32_t i = offsets_[pattern]; i < offsets_[pattern + 1]; ++i) {
      const uint32_t at = positions_[i];
      if (at < searched_to || regions_.AnyCovered(at, at + length)) continue;
      if (!row.ignore_case && !SameUnits(data_ + at, row.word)) continue;
      const uint32_t id = regions_.Add(at, at + length, row.replacement);
      uint32_t next = at + length;
      if (spoken == 0) {
        searched_to = SkipOneCharacter(next);
        continue;
      }
      bool chained = !row.chain_starts.empty();
      while (chained) {
        chained = false;
        for (int start : row.chain_starts) {
          const uint32_t have = spoken - start;
          const uint32_t need = length - have;
          if (next + need > size_) continue;
          if (regions_.AnyCovered(next, next + need)) return false;
          if (!SameAsRowCompares(data_ + next, QStringView(row.folded_word).mid(have),
                                 row.ignore_case)) {
            continue;
          }
          regions_.Chain(id, next + need, regions_[id].text_size - have, row.replacement);
          next += need;
          chained = true;
          break;
        }
      }
      searched_to = next;
    }
    return true;
  }

  // After a removal the loop searches on one character after the removal
  // point: the position before which no listed occurrence may begin.
  uint32_t SkipOneCharacter(uint32_t at) const {
    while (at < size_ && regions_.Covered(at)) {
      const Region& region = regions_.StartingAt(at);
      if (region.text_size > 0) return at;
      at = region.end;
    }
    return at < size_ ? at + 1 : at;
  }

  // Searches the virtual text around a new region for the later rows' words;
  // a match overlapping the region's text (or, were it empty, running across
  // it) is an occurrence the first pass did not list, so the rows stop before
  // the first row that would take it.
  void CheckSite(uint32_t id, size_t row) {
    const size_t context = static_cast<size_t>(longest_after_[row - first_]) - 1;
    const Region& site = regions_[id];
    // The window: up to `context` characters of the virtual text on either
    // side of the region's text, gathered into one buffer.
    window_.resize(2 * context + site.text_size);
    char16_t* const window = window_.data();
    size_t left = context;  // the window begins at window[left]
    uint32_t at = site.start;
    while (left > 0 && at > 0) {
      if (regions_.Covered(at - 1)) {
        const Region& region = regions_.EndingAt(at - 1);
        for (uint32_t j = region.text_size; j-- > 0 && left > 0;) window[--left] = region.text[j];
        at = region.start;
      } else {
        window[--left] = data_[--at];
      }
    }
    // copy_n, not memcpy: an empty pronunciation has no text pointer at all.
    std::copy_n(site.text, site.text_size, window + context);
    const size_t inserted_to = context + site.text_size;
    const size_t limit = inserted_to + context;
    size_t right = inserted_to;
    at = site.end;
    while (right < limit && at < size_) {
      if (regions_.Covered(at)) {
        const Region& region = regions_.StartingAt(at);
        for (uint32_t j = 0; j < region.text_size && right < limit; ++j) {
          window[right++] = region.text[j];
        }
        at = region.end;
      } else {
        window[right++] = data_[at++];
      }
    }
    AhoCorasick::State state = AhoCorasick::kStart;
    for (size_t i = left; i < right; ++i) {
      state = automaton_.Step(state, FoldAsciiCase(window[i]));
      if (!AhoCorasick::HasMatch(state)) continue;
      automaton_.ForEachMatch(state, [&](int pattern) {
        const size_t start = i + 1 - automaton_.PatternLength(pattern);
        if (start < inserted_to && i >= context) NoteCreated(pattern, row, window + start);
      });
    }
  }

  void NoteCreated(int pattern, size_t after_row, const char16_t* match) {
    for (size_t k : pattern_rows_[pattern]) {
      if (k <= after_row) continue;
      if (k >= end_) return;
      if (rows_[k].ignore_case || SameUnits(match, rows_[k].word)) {
        end_ = k;
        return;
      }
    }
  }

  // The occurrences of the words of rows from `from` on in the rebuilt text:
  // those of the old text that no region touched, moved, and those overlapping
  // a region's new text, found by searching around each region. False when
  // there are more than the budget allows.
  bool Reseed(size_t from) {
    carried_.clear();
    size_t region = 0;
    for (const Occurrence& o : occurrences_) {
      if (!Needed(o.pattern, from)) continue;
      const uint32_t start = o.at;
      const uint32_t last = start + automaton_.PatternLength(o.pattern) - 1;
      while (region < moves_.size() && moves_[region].old_end <= last) ++region;
      if (region > 0 && moves_[region - 1].old_end > start) continue;
      if (region < moves_.size() && moves_[region].old_start <= last) continue;
      const int64_t shift =
          region > 0 ? int64_t{moves_[region - 1].new_end} - moves_[region - 1].old_end : 0;
      carried_.push_back({static_cast<uint32_t>(start + shift), o.pattern});
    }
    const int longest = longest_after_[from - 1 - first_];
    const uint32_t context = longest > 0 ? static_cast<uint32_t>(longest) - 1 : 0;
    found_.clear();
    // The stretches around the regions' new texts, scanned once each even
    // where they overlap; an occurrence belongs to the first region it overlaps.
    AhoCorasick::State state = AhoCorasick::kStart;
    uint32_t scanned_to = 0;
    size_t first_move = 0;
    for (size_t m = 0; m < moves_.size() && longest > 0; ++m) {
      const RegionMove& move = moves_[m];
      const uint32_t from_at = move.new_start > context ? move.new_start - context : 0;
      const uint32_t to_at = std::min(size_, move.new_end + context);
      if (from_at > scanned_to) {
        state = AhoCorasick::kStart;
        scanned_to = from_at;
      }
      for (uint32_t i = scanned_to; i < to_at; ++i) {
        state = automaton_.Step(state, FoldAsciiCase(data_[i]));
        if (!AhoCorasick::HasMatch(state)) continue;
        automaton_.ForEachMatch(state, [&](int pattern) {
          if (!Needed(pattern, from)) return;
          const uint32_t start = i + 1 - automaton_.PatternLength(pattern);
          while (first_move < moves_.size() && moves_[first_move].new_end + context < i) {
            ++first_move;
          }
          for (size_t k = first_move; k < moves_.size() && moves_[k].new_start <= i; ++k) {
            if (start < moves_[k].new_end) {  // with i >= new_start: overlaps region k
              found_.push_back({start, pattern});
              return;
            }
          }
        });
      }
      scanned_to = std::max(scanned_to, to_at);
    }
    // Both lists are in order of their occurrences' ends, as the first pass made them.
    const auto by_end = [&](const Occurrence& a, const Occurrence& b) {
      return a.at + automaton_.PatternLength(a.pattern) <
             b.at + automaton_.PatternLength(b.pattern);
    };
    occurrences_.clear();
    std::merge(carried_.begin(), carried_.end(), found_.begin(), found_.end(),
               std::back_inserter(occurrences_), by_end);
    return occurrences_.size() <= Budget();
  }

  const std::vector<CorrectionRow>& rows_;
  const size_t first_;
  const size_t last_;
  const AhoCorasick& automaton_;
  const std::vector<int>& row_pattern_;
  const std::vector<int>& longest_after_;
  const std::vector<std::vector<size_t>>& pattern_rows_;
  const std::vector<size_t>& pattern_last_row_;

  QString text_;
  QString spare_;  // the other buffer: texts are rebuilt into it in turn
  const char16_t* data_ = nullptr;
  uint32_t size_ = 0;

  std::vector<Occurrence> occurrences_;  // in order of their ends
  std::vector<Occurrence> carried_;
  std::vector<Occurrence> found_;
  std::vector<uint32_t> offsets_;  // by pattern, into positions_
  std::vector<uint32_t> cursors_;
  std::vector<uint32_t> positions_;

  size_t end_ = 0;
  RegionMap regions_;
  std::vector<RegionMove> moves_;
  std::vector<char16_t> window_;
};

}  // namespace

CorrectionPatterns::CorrectionPatterns(const std::vector<CorrectionRow>& rows, size_t first,
                                       size_t last)
    : rows(rows), first(first), last(last) {
  std::vector<QString> patterns;
  QHash<QString, int> pattern_of;
  row_pattern.assign(last - first, -1);
  longest_after.assign(last - first, 0);
  int longest = 0;
  for (size_t k = last; k-- > first;) {
    longest_after[k - first] = longest;
    const CorrectionRow& row = rows[k];
    if (row.word.isEmpty()) continue;
    longest = std::max(longest, static_cast<int>(row.word.size()));
    const QString folded = FoldedCopy(row.word);
    auto it = pattern_of.constFind(folded);
    if (it == pattern_of.constEnd()) {
      it = pattern_of.insert(folded, static_cast<int>(patterns.size()));
      patterns.push_back(folded);
    }
    row_pattern[k - first] = it.value();
  }
  automaton = std::make_unique<AhoCorasick>(patterns);
  pattern_rows.resize(patterns.size());
  pattern_last_row.resize(patterns.size());
  for (size_t k = first; k < last; ++k) {
    const int pattern = row_pattern[k - first];
    if (pattern < 0) continue;
    pattern_rows[pattern].push_back(k);
    pattern_last_row[pattern] = k;
  }
}

CorrectionPatterns::~CorrectionPatterns() = default;

std::optional<size_t> ApplyCorrectionRun(QString& text, const CorrectionPatterns& patterns) {
  CorrectionRun run(patterns);
  return run.Apply(text);
}

}  // namespace voxmere
