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

// Runs count positions in 32 bits.
constexpr qsizetype kLongestRunText = qsizetype{1} << 31;

bool CanJoinRun(const CorrectionRow& row) { return row.word.size() <= kLongestRunWord; }

// The rows from `first` on that one run may take, as many as the table bound
// allows (at least one).
size_t RunEnd(const std::vector<CorrectionRow>& rows, size_t first) {
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
    total_length += row.word.size();
    if (last > first && AhoCorasick::TableSize(total_length, with_row) > kRunTableLimit) break;
    for (QChar c : row.word) seen[FoldAsciiCase(c.unicode())] = true;
    distinct = with_row;
  }
  return last;
}

// The rows' patterns by run, built once for all chunks.
class PatternCache {
 public:
  explicit PatternCache(const std::vector<CorrectionRow>& rows) : rows_(rows) {}

  size_t RunEndFrom(size_t first) {
    auto [it, added] = run_ends_.try_emplace(first, 0);
    if (added) it->second = RunEnd(rows_, first);
    return it->second;
  }

  const CorrectionPatterns& For(size_t first, size_t last) {
    std::unique_ptr<CorrectionPatterns>& patterns = cache_[{first, last}];
    if (!patterns) patterns = std::make_unique<CorrectionPatterns>(rows_, first, last);
    return *patterns;
  }

 private:
  const std::vector<CorrectionRow>& rows_;
  std::map<std::pair<size_t, size_t>, std::unique_ptr<CorrectionPatterns>> cache_;
  std::map<size_t, size_t> run_ends_;
};

QString ApplyToChunk(QString text, const std::vector<CorrectionRow>& rows, PatternCache& cache) {
  size_t next = 0;
  while (next < rows.size()) {
    const CorrectionRow& row = rows[next];
    if (row.word.isEmpty()) {
      ++next;
    } else if (!CanJoinRun(row) || text.size() >= kLongestRunText) {
      text = ApplyRowStreaming(text, row);
      ++next;
    } else {
      size_t last = cache.RunEndFrom(next);
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
  PatternCache cache(rows);
  if (text.size() <= chunk_size) return ApplyToChunk(text, rows, cache);
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
    result += ApplyToChunk(text.mid(begin, end - begin), rows, cache);
    begin = end;
  }
  return result;
}

}  // namespace voxmere
