#include "reading/corrections.h"

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

// The rows' patterns by run, built once for all chunks. With a single chunk
// each run's patterns serve once and are freed at once: a large table would
// otherwise hold every run's transition table at the same time.
class PatternCache {
 public:
  PatternCache(const std::vector<CorrectionRow>& rows, bool keep) : rows_(rows), keep_(keep) {}

  const RunExtent& RunEndFrom(size_t first) {
    auto [it, added] = run_ends_.try_emplace(first);
    if (added) it->second = RunEnd(rows_, first);
    return it->second;
  }

  const CorrectionPatterns& For(size_t first, size_t last) {
    if (!keep_) cache_.clear();
    std::unique_ptr<CorrectionPatterns>& patterns = cache_[{first, last}];
    if (!patterns) patterns = std::make_unique<CorrectionPatterns>(rows_, first, last);
    return *patterns;
  }

 private:
  const std::vector<CorrectionRow>& rows_;
  const bool keep_;
  std::map<std::pair<size_t, size_t>, std::unique_ptr<CorrectionPatterns>> cache_;
  std::map<size_t, RunExtent> run_ends_;
};

// `text_size` is the size of the whole text, of which the chunk is a part: a
// run's table, once built, serves every chunk.
QString ApplyToChunk(QString text, const std::vector<CorrectionRow>& rows, PatternCache& cache,
                     qsizetype text_size) {
  size_t next = 0;
  while (next < rows.size()) {
    const CorrectionRow& row = rows[next];
    if (row.word.isEmpty()) {
      ++next;
    } else if (!CanJoinRun(row) || text.size() >= kLongestRunText) {
      text = ApplyRowStreaming(text, row);
      ++next;
    } else {
      const RunExtent& extent = cache.RunEndFrom(next);
      size_t last = extent.last;
      // A short text with a large table: streaming the run's rows costs less
      // than building their table.
      if (extent.table_size > kSmallRunTable &&
          extent.table_size * kStreamedCharactersPerTableEntry >
              static_cast<int64_t>(last - next) * (text_size + 1)) {
        for (; next < last; ++next) text = ApplyRowStreaming(text, rows[next]);
        continue;
      }
      while (true) {
        const std::optional<size_t> end = ApplyCorrectionRun(text, cache.For(next, last));
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
  PatternCache cache(rows, text.size() > chunk_size);
  if (text.size() <= chunk_size) return ApplyToChunk(text, rows, cache, text.size());
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
  QString result;
  result.reserve(text.size());
  qsizetype begin = 0;
  while (begin < text.size()) {
    qsizetype end = std::min(text.size(), begin + chunk_size);
    while (end < text.size() && used[text[end - 1].unicode()]) ++end;
    result += ApplyToChunk(text.mid(begin, end - begin), rows, cache, text.size());
    begin = end;
  }
  return result;
}

}  // namespace voxmere
