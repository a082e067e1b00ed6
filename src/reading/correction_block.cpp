#include "reading/correction_block.h"

#include <QHash>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

#include "reading/aho_corasick.h"

namespace voxmere {
namespace {

// One bit per character of the text: set where a row of the run replaced it.
class CoverMap {
 public:
  explicit CoverMap(size_t size) : words_((size + 63) / 64, 0) {}

  bool Test(size_t i) const { return (words_[i >> 6] >> (i & 63)) & 1; }

  void Set(size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) words_[i >> 6] |= uint64_t{1} << (i & 63);
  }

  bool AnyIn(size_t from, size_t to) const {
    if (from >= to) return false;
    const size_t first = from >> 6;
    const size_t last = (to - 1) >> 6;
    const uint64_t first_mask = ~uint64_t{0} << (from & 63);
    const uint64_t last_mask = ~uint64_t{0} >> (63 - ((to - 1) & 63));
    if (first == last) return (words_[first] & first_mask & last_mask) != 0;
    if ((words_[first] & first_mask) != 0) return true;
    for (size_t w = first + 1; w < last; ++w) {
      if (words_[w] != 0) return true;
    }
    return (words_[last] & last_mask) != 0;
  }

  // The first set position at or after `from`, or `end` when there is none.
  size_t NextSet(size_t from, size_t end) const {
    if (from >= end) return end;
    size_t w = from >> 6;
    uint64_t bits = words_[w] & (~uint64_t{0} << (from & 63));
    while (bits == 0) {
      if (++w >= words_.size()) return end;
      bits = words_[w];
    }
    return std::min(end, (w << 6) + static_cast<size_t>(std::countr_zero(bits)));
  }

 private:
  std::vector<uint64_t> words_;
};

// A stretch [start, end) of the run's input text replaced by a row.
struct Region {
  uint32_t start;
  uint32_t end;
  uint32_t row;
};

bool SameUnits(const char16_t* a, const QString& b) {
  return std::memcmp(a, b.utf16(), sizeof(char16_t) * b.size()) == 0;
}

class CorrectionBlock {
 public:
  CorrectionBlock(const QString& text, const std::vector<CorrectionRow>& rows, size_t first,
                  size_t last)
      : rows_(rows),
        first_(first),
        last_(last),
        text_(reinterpret_cast<const char16_t*>(text.utf16())),
        size_(static_cast<uint32_t>(text.size())),
        covered_(size_),
        region_at_(new uint32_t[size_]) {
    std::vector<QString> patterns;
    QHash<QString, int> pattern_of;
    row_pattern_.assign(last - first, -1);
    longest_after_.assign(last - first, 0);
    int longest = 0;
    for (size_t k = last; k-- > first;) {
      longest_after_[k - first] = longest;
      const CorrectionRow& row = rows[k];
      if (row.word.isEmpty()) continue;
      longest = std::max(longest, static_cast<int>(row.word.size()));
      const QString folded = FoldedCopy(row.word);
      auto it = pattern_of.constFind(folded);
      if (it == pattern_of.constEnd()) {
        it = pattern_of.insert(folded, static_cast<int>(patterns.size()));
        patterns.push_back(folded);
      }
      row_pattern_[k - first] = it.value();
    }
    automaton_ = std::make_unique<AhoCorasick>(patterns);
    pattern_rows_.resize(patterns.size());
    for (size_t k = first; k < last; ++k) {
      if (row_pattern_[k - first] >= 0) pattern_rows_[row_pattern_[k - first]].push_back(k);
    }
  }

  // Every occurrence of every pattern, by pattern, in text order. False when
  // they would take more memory than the text itself many times over.
  bool FindOccurrences() {
    occurrences_.assign(pattern_rows_.size(), {});
    const size_t budget = 4 * size_t{size_} + (size_t{1} << 20);
    size_t found = 0;
    int state = AhoCorasick::kStart;
    for (uint32_t i = 0; i < size_; ++i) {
      state = automaton_->Step(state, FoldAsciiCase(text_[i]));
      if (!automaton_->HasMatch(state)) continue;
      automaton_->ForEachMatch(state, [&](int pattern) {
        occurrences_[pattern].push_back(i + 1 - automaton_->PatternLength(pattern));
        ++found;
      });
      if (found > budget) return false;
    }
    return true;
  }

  // Applies the rows in order on the virtual text; returns the first row not applied.
  size_t ApplyRows() {
    end_ = last_;
    std::vector<uint32_t> sites;
    for (size_t k = first_; k < end_; ++k) {
      const int pattern = row_pattern_[k - first_];
      if (pattern < 0) continue;
      const CorrectionRow& row = rows_[k];
      const auto length = static_cast<uint32_t>(row.word.size());
      uint32_t searched_to = 0;
      sites.clear();
      for (uint32_t at : occurrences_[pattern]) {
        if (at < searched_to || covered_.AnyIn(at, at + length)) continue;
        if (!row.ignore_case && !SameUnits(text_ + at, row.word)) continue;
        const auto id = static_cast<uint32_t>(regions_.size());
        regions_.push_back({at, at + length, static_cast<uint32_t>(k)});
        covered_.Set(at, at + length);
        region_at_[at] = id;
        region_at_[at + length - 1] = id;
        searched_to = at + length;
        sites.push_back(id);
      }
      if (longest_after_[k - first_] == 0) continue;
      for (uint32_t id : sites) CheckSite(regions_[id], k);
    }
    return end_;
  }

  QString Rebuild() const {
    qsizetype size = size_;
    for (const Region& region : regions_) {
      size += rows_[region.row].replacement.size() - (region.end - region.start);
    }
    QString out(size, Qt::Uninitialized);
    auto* to = reinterpret_cast<char16_t*>(out.data());
    size_t at = 0;
    while (true) {
      const size_t next = covered_.NextSet(at, size_);
      std::memcpy(to, text_ + at, sizeof(char16_t) * (next - at));
      to += next - at;
      if (next == size_) break;
      const Region& region = regions_[region_at_[next]];
      const QString& inserted = rows_[region.row].replacement;
      std::memcpy(to, inserted.utf16(), sizeof(char16_t) * inserted.size());
      to += inserted.size();
      at = region.end;
    }
    return out;
  }

 private:
  // Searches the virtual text around a new replacement for the words of the
  // later rows; a match overlapping the inserted text (or, were it empty, the
  // junction) is an occurrence that the one pass did not see, so the run must
  // stop before the first row that would take it.
  void CheckSite(const Region& site, size_t row) {
    const size_t context = static_cast<size_t>(longest_after_[row - first_]) - 1;
    reversed_left_.clear();
    uint32_t at = site.start;
    while (reversed_left_.size() < context && at > 0) {
      if (covered_.Test(at - 1)) {
        const Region& region = regions_[region_at_[at - 1]];
        const QString& inserted = rows_[region.row].replacement;
        for (qsizetype j = inserted.size(); j-- > 0 && reversed_left_.size() < context;) {
          reversed_left_.push_back(inserted[j].unicode());
        }
        at = region.start;
      } else {
        reversed_left_.push_back(text_[--at]);
      }
    }
    window_.assign(reversed_left_.rbegin(), reversed_left_.rend());
    const size_t inserted_from = window_.size();
    const QString& replacement = rows_[site.row].replacement;
    window_.insert(window_.end(), replacement.utf16(), replacement.utf16() + replacement.size());
    const size_t inserted_to = window_.size();
    at = site.end;
    while (window_.size() - inserted_to < context && at < size_) {
      if (covered_.Test(at)) {
        const Region& region = regions_[region_at_[at]];
        const QString& inserted = rows_[region.row].replacement;
        for (qsizetype j = 0; j < inserted.size() && window_.size() - inserted_to < context; ++j) {
          window_.push_back(inserted[j].unicode());
        }
        at = region.end;
      } else {
        window_.push_back(text_[at++]);
      }
    }
    int state = AhoCorasick::kStart;
    for (size_t i = 0; i < window_.size(); ++i) {
      state = automaton_->Step(state, FoldAsciiCase(window_[i]));
      if (!automaton_->HasMatch(state)) continue;
      automaton_->ForEachMatch(state, [&](int pattern) {
        const size_t start = i + 1 - automaton_->PatternLength(pattern);
        if (start < inserted_to && i >= inserted_from) NoteCreated(pattern, row, start);
      });
    }
  }

  void NoteCreated(int pattern, size_t after_row, size_t start) {
    for (size_t k : pattern_rows_[pattern]) {
      if (k <= after_row) continue;
      if (k >= end_) return;
      if (rows_[k].ignore_case || SameUnits(window_.data() + start, rows_[k].word)) {
        end_ = k;
        return;
      }
    }
  }

  const std::vector<CorrectionRow>& rows_;
  const size_t first_;
  const size_t last_;
  const char16_t* text_;
  const uint32_t size_;
  size_t end_ = 0;
  std::unique_ptr<AhoCorasick> automaton_;
  std::vector<int> row_pattern_;    // by row - first_: pattern, or -1 for an empty word
  std::vector<int> longest_after_;  // by row - first_: longest word of the rows after it
  std::vector<std::vector<size_t>> pattern_rows_;
  std::vector<std::vector<uint32_t>> occurrences_;
  CoverMap covered_;
  std::unique_ptr<uint32_t[]> region_at_;  // region id at a region's first and last character
  std::vector<Region> regions_;
  std::vector<char16_t> reversed_left_;
  std::vector<char16_t> window_;
};

}  // namespace

std::optional<size_t> ApplyCorrectionBlock(QString& text, const std::vector<CorrectionRow>& rows,
                                           size_t first, size_t last) {
  CorrectionBlock block(text, rows, first, last);
  if (!block.FindOccurrences()) return std::nullopt;
  const size_t end = block.ApplyRows();
  text = block.Rebuild();
  return end;
}

}  // namespace voxmere
