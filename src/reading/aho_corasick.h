// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace voxmere {

// Aho-Corasick automaton over a set of non-empty, distinct patterns of UTF-16
// code units, with a dense transition table over the characters the patterns
// use (every other character shares one column). Finds every occurrence of
// every pattern, overlapping ones included, in one left-to-right pass.
class AhoCorasick {
 public:
  explicit AhoCorasick(const std::vector<QString>& patterns);

  // Size of the transition table for patterns of this total length using this
  // many distinct characters: callers keep it bounded.
  static int64_t TableSize(int64_t total_length, int64_t distinct_characters) {
    return (total_length + 1) * (distinct_characters + 1);
  }

  // A state is encoded as the offset of its row in the transition table,
  // doubled, with the low bit set when some pattern ends there: one look-up
  // per character, and a test of one bit.
  using State = uint32_t;
  static constexpr State kStart = 0;
  State Step(State state, char16_t c) const { return next_[(state >> 1) + column_[c]]; }
  static bool HasMatch(State state) { return (state & 1) != 0; }
  int PatternLength(int pattern) const { return lengths_[pattern]; }
  // Entries of the transition table built.
  int64_t Entries() const { return static_cast<int64_t>(next_.size()); }

  // Calls visit(pattern) for every pattern that ends at this state, longest first.
  template <class Visit>
  void ForEachMatch(State state, Visit&& visit) const {
    const int here = static_cast<int>((state >> 1) / width_);
    int node = pattern_at_[here] >= 0 ? here : match_link_[here];
    while (node > 0) {
      visit(pattern_at_[node]);
      node = match_link_[node];
    }
  }

 private:
  std::vector<uint16_t> column_;     // character -> column, 0 for unused characters
  int width_ = 1;                    // number of columns
  std::vector<int32_t> next_;        // state * width_ + column -> state
  std::vector<int32_t> pattern_at_;  // pattern ending exactly at a state, or -1
  std::vector<int32_t> match_link_;  // nearest state on the failure chain with a pattern, or 0
  std::vector<int32_t> lengths_;
};

}  // namespace voxmere
