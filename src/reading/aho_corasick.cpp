// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/aho_corasick.h"

namespace voxmere {

AhoCorasick::AhoCorasick(const std::vector<QString>& patterns) : column_(65536, 0) {
  for (const QString& pattern : patterns) {
    for (QChar c : pattern) {
      if (column_[c.unicode()] == 0) column_[c.unicode()] = static_cast<uint16_t>(width_++);
    }
  }
  // The trie, with -1 for a missing child, by node number until the end.
  std::vector<int32_t> next(width_, -1);
  pattern_at_.assign(1, -1);
  lengths_.reserve(patterns.size());
  for (int p = 0; p < static_cast<int>(patterns.size()); ++p) {
    int node = kStart;
    for (QChar c : patterns[p]) {
      int32_t& child = next[node * width_ + column_[c.unicode()]];
      if (child < 0) {
        child = static_cast<int>(pattern_at_.size());
        pattern_at_.push_back(-1);
        next.resize(next.size() + width_, -1);
        // `child` may dangle after the resize; the node number is what counts.
        node = static_cast<int>(pattern_at_.size()) - 1;
      } else {
        node = child;
      }
    }
    pattern_at_[node] = p;
    lengths_.push_back(static_cast<int32_t>(patterns[p].size()));
  }
  // Breadth-first: failure links, then every missing transition borrowed from
  // the failure state, so that a step is one table look-up.
  const int states = static_cast<int>(pattern_at_.size());
  std::vector<int32_t> failure(states, 0);
  match_link_.assign(states, 0);
  std::vector<int32_t> queue;
  queue.reserve(states);
  for (int c = 0; c < width_; ++c) {
    int32_t& child = next[c];
    if (child < 0) {
      child = kStart;
    } else {
      queue.push_back(child);
    }
  }
  for (size_t head = 0; head < queue.size(); ++head) {
    const int node = queue[head];
    const int fail = failure[node];
    match_link_[node] = pattern_at_[fail] >= 0 ? fail : match_link_[fail];
    for (int c = 0; c < width_; ++c) {
      int32_t& child = next[node * width_ + c];
      const int32_t borrowed = next[fail * width_ + c];
      if (child < 0) {
        child = borrowed;
      } else {
        failure[child] = borrowed;
        queue.push_back(child);
      }
    }
  }
  // Number the states breadth-first, so that the shallow states, where a
  // scan spends most of its steps, share a small part of the table.
  std::vector<int32_t> order(states, 0);  // old number -> new number
  for (size_t i = 0; i < queue.size(); ++i) order[queue[i]] = static_cast<int32_t>(i + 1);
  std::vector<int32_t> pattern_at(states);
  std::vector<int32_t> match_link(states);
  for (int node = 0; node < states; ++node) {
    pattern_at[order[node]] = pattern_at_[node];
    match_link[order[node]] = order[match_link_[node]];
  }
  pattern_at_.swap(pattern_at);
  match_link_.swap(match_link);
  next_.resize(next.size());
  for (int node = 0; node < states; ++node) {
    for (int c = 0; c < width_; ++c) {
      const int32_t to = order[next[node * width_ + c]];
      const bool match = pattern_at_[to] >= 0 || match_link_[to] > 0;
      next_[order[node] * width_ + c] =
          static_cast<uint32_t>(to) * static_cast<uint32_t>(width_) * 2 + (match ? 1 : 0);
    }
  }
}

}  // namespace voxmere
