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

  static constexpr int kStart = 0;
  int Step(int state, char16_t c) const { return next_[state * width_ + column_[c]]; }
  bool HasMatch(int state) const { return pattern_at_[state] >= 0 || match_link_[state] > 0; }
  int PatternLength(int pattern) const { return lengths_[pattern]; }

  // Calls visit(pattern) for every pattern that ends at this state.
  template <class Visit>
  void ForEachMatch(int state, Visit&& visit) const {
    int node = pattern_at_[state] >= 0 ? state : match_link_[state];
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
