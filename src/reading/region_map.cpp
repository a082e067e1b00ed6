// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/region_map.h"

#include <algorithm>
#include <bit>

namespace voxmere {

void CoverMap::Reset(size_t size) { words_.assign((size + 63) / 64, 0); }

namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

// Calls apply(word index, mask) for the bits [from, to).
template <class Apply>
void ForEachWord(size_t from, size_t to, Apply&& apply) {
  while (from < to) {
    const size_t bit = from & 63;
    const size_t count = std::min<size_t>(64 - bit, to - from);
    const uint64_t mask = (count == 64 ? ~uint64_t{0} : ((uint64_t{1} << count) - 1)) << bit;
    apply(from >> 6, mask);
    from += count;
  }
}

}  // namespace

void CoverMap::Set(size_t from, size_t to) {
  ForEachWord(from, to, [&](size_t w, uint64_t mask) { words_[w] |= mask; });
}

void CoverMap::Clear(size_t from, size_t to) {
  ForEachWord(from, to, [&](size_t w, uint64_t mask) { words_[w] &= ~mask; });
}

bool CoverMap::AnyIn(size_t from, size_t to) const {
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

size_t CoverMap::NextSet(size_t from, size_t end) const {
  if (from >= end) return end;
  size_t w = from >> 6;
  uint64_t bits = words_[w] & (~uint64_t{0} << (from & 63));
  while (bits == 0) {
    if (++w >= words_.size()) return end;
    bits = words_[w];
  }
  return std::min(end, (w << 6) + static_cast<size_t>(std::countr_zero(bits)));
}

void RegionMap::Reset(size_t text_size, size_t expected_regions) {
  covered_.Reset(text_size);
  regions_.reserve(expected_regions);
  starting_.assign(text_size / 64 + 1, kNone);
  ending_.assign(text_size / 64 + 1, kNone);
  regions_.clear();
  pool_.clear();
}

const Region& RegionMap::StartingAt(size_t i) const {
  uint32_t id = starting_[i >> 6];
  while (regions_[id].start != i) id = regions_[id].next_starting;
  return regions_[id];
}

const Region& RegionMap::EndingAt(size_t i) const {
  uint32_t id = ending_[i >> 6];
  while (regions_[id].end - 1 != i) id = regions_[id].next_ending;
  return regions_[id];
}

void RegionMap::LinkEnd(uint32_t id) {
  Region& region = regions_[id];
  uint32_t& head = ending_[(region.end - 1) >> 6];
  region.next_ending = head;
  head = id;
}

uint32_t RegionMap::Add(uint32_t start, uint32_t end, QStringView text) {
  const auto id = static_cast<uint32_t>(regions_.size());
  uint32_t& head = starting_[start >> 6];
  regions_.push_back({start, end, reinterpret_cast<const char16_t*>(text.utf16()),
                      static_cast<uint32_t>(text.size()), -1, head, kNone});
  head = id;
  LinkEnd(id);
  covered_.Set(start, end);
  return id;
}

void RegionMap::Chain(uint32_t id, uint32_t new_end, size_t keep, QStringView tail) {
  Region& region = regions_[id];
  if (region.pooled < 0) {
    region.pooled = static_cast<int32_t>(pool_.size());
    pool_.emplace_back(region.text, region.text_size);
  }
  // Grown in place, so that a long chain of matches costs linear time.
  std::u16string& text = pool_[region.pooled];
  text.resize(keep);
  text.append(reinterpret_cast<const char16_t*>(tail.utf16()), tail.size());
  region.text = text.data();
  region.text_size = static_cast<uint32_t>(text.size());
  // The region is the latest one, so it heads the list of its end's block.
  ending_[(region.end - 1) >> 6] = region.next_ending;
  covered_.Set(region.end, new_end);
  region.end = new_end;
  LinkEnd(id);
}

void RegionMap::Truncate(size_t count) {
  // The latest regions head their lists: unlink them latest first.
  while (regions_.size() > count) {
    const Region& region = regions_.back();
    starting_[region.start >> 6] = region.next_starting;
    ending_[(region.end - 1) >> 6] = region.next_ending;
    covered_.Clear(region.start, region.end);
    regions_.pop_back();
  }
}

void RegionMap::Rebuild(const char16_t* text, size_t text_size, QString& out,
                        std::vector<RegionMove>& moves) const {
  qsizetype size = static_cast<qsizetype>(text_size);
  for (const Region& region : regions_) {
    size += static_cast<qsizetype>(region.text_size) - (region.end - region.start);
  }
  if (out.capacity() < size) {
    // Room to grow: the text is rebuilt into this buffer again and again.
    out = QString();
    out.reserve(size + size / 4);
  }
  out.resize(size);
  auto* to = reinterpret_cast<char16_t*>(out.data());
  char16_t* const begin = to;
  moves.clear();
  size_t at = 0;
  while (true) {
    const size_t next = covered_.NextSet(at, text_size);
    std::copy_n(text + at, next - at, to);
    to += next - at;
    if (next == text_size) break;
    const Region& region = StartingAt(next);
    const auto new_start = static_cast<uint32_t>(to - begin);
    std::copy_n(region.text, region.text_size, to);
    to += region.text_size;
    moves.push_back({region.start, region.end, new_start, static_cast<uint32_t>(to - begin)});
    at = region.end;
  }
}

}  // namespace voxmere
