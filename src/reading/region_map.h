// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace voxmere {

// One bit per character of a text.
class CoverMap {
 public:
  void Reset(size_t size);
  bool Test(size_t i) const { return (words_[i >> 6] >> (i & 63)) & 1; }
  void Set(size_t from, size_t to);
  void Clear(size_t from, size_t to);
  bool AnyIn(size_t from, size_t to) const;
  // The first set position at or after `from`, or `end` when there is none.
  size_t NextSet(size_t from, size_t end) const;

 private:
  std::vector<uint64_t> words_;
};

// A stretch [start, end) of the text replaced by `text`.
struct Region {
  uint32_t start;
  uint32_t end;
  const char16_t* text;
  uint32_t text_size;
  int32_t pooled;          // index of the region's own copy of its text, or -1
  uint32_t next_starting;  // the previous region starting in the same 64 characters
  uint32_t next_ending;    // the previous region ending in the same 64 characters
};

// Where a region lay in the text before and after a rebuild.
struct RegionMove {
  uint32_t old_start;
  uint32_t old_end;
  uint32_t new_start;
  uint32_t new_end;
};

// The replacements made on a text that is not rebuilt yet: disjoint regions
// of the original text, each with the text that stands there now. The
// buffers are kept between uses so that large texts are not paged in anew.
class RegionMap {
 public:
  // `expected_regions` sizes the region list up front (an upper bound is fine:
  // memory not used is not touched).
  void Reset(size_t text_size, size_t expected_regions);
  size_t Count() const { return regions_.size(); }
  const Region& operator[](size_t id) const { return regions_[id]; }
  bool Covered(size_t i) const { return covered_.Test(i); }
  bool AnyCovered(size_t from, size_t to) const { return covered_.AnyIn(from, to); }
  // The region whose first (or last) character is at `i`; `i` must be one.
  const Region& StartingAt(size_t i) const;
  const Region& EndingAt(size_t i) const;

  // `text` must outlive the map's use of it.
  uint32_t Add(uint32_t start, uint32_t end, QStringView text);
  // A match that began inside the region's text at `keep` and ran on to
  // `new_end`: the region grows and its text becomes its first `keep`
  // characters followed by `tail`.
  void Chain(uint32_t id, uint32_t new_end, size_t keep, QStringView tail);
  // Forgets the regions from `count` on.
  void Truncate(size_t count);

  // Writes `text` with every region replaced into `out` (reusing its buffer)
  // and lists the regions' moves in text order.
  void Rebuild(const char16_t* text, size_t text_size, QString& out,
               std::vector<RegionMove>& moves) const;

 private:
  void LinkEnd(uint32_t id);

  CoverMap covered_;
  // By 64-character block: the latest region starting (ending) there, the
  // head of a short list; small next to the text, unlike a map per character.
  std::vector<uint32_t> starting_;
  std::vector<uint32_t> ending_;
  std::vector<Region> regions_;
  std::deque<std::u16string> pool_;
};

}  // namespace voxmere
