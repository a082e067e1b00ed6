// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/corrections.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "reading/aho_corasick.h"
#include "reading/correction_run.h"

namespace voxmere {
namespace {

// Rows with longer words are applied on their own: around every replacement
// of a run the text is searched as far as the longest later word reaches.
constexpr qsizetype kLongestRunWord = 256;
// Bound on the transition table of one run (entries of 4 bytes).
constexpr int64_t kRunTableLimit = int64_t{1} << 22;

bool CanJoinRun(const CorrectionRow& row) { return row.word.size() <= kLongestRunWord; }

// Building a run's table costs about as much per entry as the streaming
// matcher spends on this many characters. Tables up to the small size are
// always built: they cost next to nothing.
constexpr int64_t kStreamedCharactersPerTableEntry = 3;
constexpr int64_t kSmallRunTable = int64_t{1} << 16;

struct RunExtent {
  size_t last = 0;         // the run is rows[first, last)
  int64_t table_size = 0;  // of its automaton
};

// The rows from `first` on that one run may take, as many as the table bound
// allows (at least one).
RunExtent RunEnd(const std::vector<CorrectionRow>& rows, size_t first) {
  std::vector<bool> seen(65536, false);
  int64_t distinct = 0;
  int64_t total_length = 0;
  size_t last = first;
  for (; last < rows.size(); ++last) {
    const CorrectionRow& row = rows[last];
    if (row.word.isEmpty()) continue;
    if (!CanJoinRun(row)) break;
    int64_t with_row = distinct;
    for (QChar c : row.word) with_row += seen[FoldAsciiCase(c.unicode())] ? 0 : 1;
    if (last > first &&
        AhoCorasick::TableSize(total_length + row.word.size(), with_row) > kRunTableLimit) {
      break;
    }
    total_length += row.word.size();
    for (QChar c : row.word) seen[FoldAsciiCase(c.unicode())] = true;
    distinct = with_row;
  }
  return {last, AhoCorasick::TableSize(total_length, distinct)};
}

// The patterns of the run being applied to every chunk, built once for all
// of them, and of the few shorter runs that chunks stopped early need (often
// the same ones, at the same created occurrences). Only these tables are held
// at a time, not those of every run of the table.
class PatternCache {
 public:
  explicit PatternCache(const std::vector<CorrectionRow>& rows) : rows_(rows) {}

  const RunExtent& RunEndFrom(size_t first) {
    auto [it, added] = run_ends_.try_emplace(first);
    if (added) it->second = RunEnd(rows_, first);
    return it->second;
  }

  const CorrectionPatterns& For(size_t first, size_t last, bool shared) {
    if (shared) {
      if (!shared_ || shared_->first != first || shared_->last != last) {
        shared_.reset();  // before the new table is built
        shared_ = std::make_unique<CorrectionPatterns>(rows_, first, last);
      }
      return *shared_;
    }
    auto it = others_.find({first, last});
    if (it == others_.end()) {
      if (others_entries_ >= kOtherRunsEntries) Forget(/*shared=*/false);
      it = others_
               .emplace(std::pair(first, last),
                        std::make_unique<CorrectionPatterns>(rows_, first, last))
               .first;
      others_entries_ += it->second->automaton->Entries();
    }
    return *it->second;
  }

  void Forget(bool shared = true) {
    if (shared) shared_.reset();
    others_.clear();
    others_entries_ = 0;
  }

 private:
  // Bound on the tables of the shorter runs together (entries of 4 bytes).
  static constexpr int64_t kOtherRunsEntries = int64_t{1} << 24;

  const std::vector<CorrectionRow>& rows_;
  std::unique_ptr<CorrectionPatterns> shared_;
  std::map<std::pair<size_t, size_t>, std::unique_ptr<CorrectionPatterns>> others_;
  int64_t others_entries_ = 0;
  std::map<size_t, RunExtent> run_ends_;
};

// Applies rows[first, stop) to a chunk. `text_size` is the size of the whole
// text, of which the chunk is a part: the table of rows[first, stop), once
// built, serves every chunk.
QString ApplyRowsToChunk(QString text, const std::vector<CorrectionRow>& rows, size_t first,
                         size_t stop, PatternCache& cache, qsizetype text_size) {
  size_t next = first;
  while (next < stop) {
    const CorrectionRow& row = rows[next];
    if (row.word.isEmpty()) {
      ++next;
    } else if (!CanJoinRun(row) || text.size() >= kLongestRunText) {
      text = ApplyRowStreaming(text, row);
      ++next;
    } else {
      const RunExtent& extent = cache.RunEndFrom(next);
      size_t last = std::min(extent.last, stop);
      // A short text with a large table: streaming the run's rows costs less
      // than building their table.
      if (extent.table_size > kSmallRunTable &&
          extent.table_size * kStreamedCharactersPerTableEntry >
              static_cast<int64_t>(last - next) * (text_size + 1)) {
        for (; next < last; ++next) text = ApplyRowStreaming(text, rows[next]);
        continue;
      }
      while (true) {
        const bool shared = next == first && last == stop;
        const std::optional<size_t> end = ApplyCorrectionRun(text, cache.For(next, last, shared));
        if (end && *end > next) {
          next = *end;
          break;
        }
        if (end || last - next == 1) {  // not to be listed or decided there: stream it
          text = ApplyRowStreaming(text, row);
          ++next;
          break;
        }
        last = next + (last - next) / 2;
      }
    }
  }
  return text;
}

}  // namespace

QString ApplyCorrections(const QString& text, const std::vector<CorrectionRow>& rows,
                         qsizetype chunk_size) {
  if (rows.empty()) return text;
  // Where the chunks end.
  std::vector<qsizetype> ends;
  if (text.size() <= chunk_size) {
    ends.push_back(text.size());
  } else {
    // Characters that no row reads or writes; letters in both cases, whatever
    // the row's flag.
    std::vector<bool> used(65536, false);
    for (const CorrectionRow& row : rows) {
      if (row.word.isEmpty()) continue;
      for (const QString* part : {&row.word, &row.replacement}) {
        for (QChar c : *part) {
          used[c.unicode()] = true;
          used[c.toLower().unicode()] = true;
          used[c.toUpper().unicode()] = true;
        }
      }
    }
    qsizetype end = 0;
    while (end < text.size()) {
      end = std::min(text.size(), end + chunk_size);
      while (end < text.size() && used[text[end - 1].unicode()]) ++end;
      ends.push_back(end);
    }
  }
  // Run by run over all chunks, so that only one run's table is held at a
  // time. A chunk is cut from the text in the first step and joins the
  // result in the last, while it is fresh in the caches.
  std::vector<QString> chunks(ends.size());
  QString result;
  PatternCache cache(rows);
  size_t next = 0;
  while (next < rows.size()) {
    const CorrectionRow& row = rows[next];
    const size_t last =
        row.word.isEmpty() || !CanJoinRun(row) ? next + 1 : cache.RunEndFrom(next).last;
    for (size_t i = 0; i < ends.size(); ++i) {
      const qsizetype begin = i == 0 ? 0 : ends[i - 1];
      QString chunk =
          ApplyRowsToChunk(next == 0 ? text.mid(begin, ends[i] - begin) : std::move(chunks[i]),
                           rows, next, last, cache, text.size());
      if (last < rows.size()) {
        chunks[i] = std::move(chunk);
      } else if (ends.size() == 1) {
        return chunk;
      } else {
        if (i == 0) result.reserve(text.size());
        result += chunk;
      }
    }
    cache.Forget();
    next = last;
  }
  return result;
}

}  // namespace voxmere
