// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/sapi_markup.h"

#include <algorithm>
#include <optional>

namespace voxmere {
namespace {

// Sums of nested relative pitches saturate here, far outside the clamped
// range, so no text of tags can overflow them.
constexpr long long kPitchSaturation = 1'000'000;

bool IsXmlBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

long long Saturate(long long value) {
  return std::clamp(value, -kPitchSaturation, kPitchSaturation);
}

// Reads one pitch tag at a '<'. Cursor-style helpers keep the grammar readable.
class TagReader {
 public:
  TagReader(const QString& text, qsizetype at) : text_(text), pos_(at) {}

  enum class Kind { kOpen, kEmpty, kClose };
  struct Tag {
    Kind kind;
    long long middle = 0;
    qsizetype end = 0;  // one past the '>'
  };

  std::optional<Tag> Read() {
    if (!Take(u'<')) return std::nullopt;
    if (Take(u'/')) {
      if (!TakeWord(QLatin1StringView("pitch"))) return std::nullopt;
      SkipBlanks();
      if (!Take(u'>')) return std::nullopt;
      return Tag{Kind::kClose, 0, pos_};
    }
    if (!TakeWord(QLatin1StringView("pitch"))) return std::nullopt;
    // At least one blank separates the name from the attribute.
    if (!SkipBlanks()) return std::nullopt;
    if (!TakeWord(QLatin1StringView("middle"))) return std::nullopt;
    SkipBlanks();
    if (!Take(u'=')) return std::nullopt;
    SkipBlanks();
    const std::optional<long long> middle = QuotedInteger();
    if (!middle) return std::nullopt;
    SkipBlanks();
    if (Take(u'>')) return Tag{Kind::kOpen, *middle, pos_};
    if (Take(u'/') && Take(u'>')) return Tag{Kind::kEmpty, *middle, pos_};
    return std::nullopt;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }

  bool Take(char16_t c) {
    if (AtEnd() || text_[pos_] != QChar(c)) return false;
    ++pos_;
    return true;
  }

  // A lower-case ASCII word without regard to case (tag and attribute names
  // of the Windows markup are not case-sensitive); only ASCII letters match.
  bool TakeWord(QLatin1StringView word) {
    if (text_.size() - pos_ < word.size()) return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
      const char16_t c = text_[pos_ + i].unicode();
      const char16_t lower = (c >= u'A' && c <= u'Z') ? c - u'A' + u'a' : c;
      if (lower != static_cast<char16_t>(word[i].unicode())) return false;
    }
    pos_ += word.size();
    return true;
  }

  // True when at least one blank was skipped.
  bool SkipBlanks() {
    const qsizetype start = pos_;
    while (!AtEnd() && IsXmlBlank(text_[pos_])) ++pos_;
    return pos_ > start;
  }

  // "N" or 'N': an optional sign and decimal digits, blanks around allowed.
  std::optional<long long> QuotedInteger() {
    if (AtEnd()) return std::nullopt;
    const QChar quote = text_[pos_];
    if (quote != u'"' && quote != u'\'') return std::nullopt;
    ++pos_;
    SkipBlanks();
    bool negative = false;
    if (Take(u'-')) {
      negative = true;
    } else {
      Take(u'+');
    }
    long long value = 0;
    bool any_digit = false;
    while (!AtEnd() && text_[pos_] >= u'0' && text_[pos_] <= u'9') {
      value = Saturate(value * 10 + (text_[pos_].unicode() - u'0'));
      any_digit = true;
      ++pos_;
    }
    if (!any_digit) return std::nullopt;
    SkipBlanks();
    if (AtEnd() || text_[pos_] != quote) return std::nullopt;
    ++pos_;
    return negative ? -value : value;
  }

  const QString& text_;
  qsizetype pos_;
};

class SegmentCollector {
 public:
  void Add(int pitch, QStringView text) {
    if (text.isEmpty()) return;
    if (!segments_.empty() && segments_.back().pitch == pitch) {
      segments_.back().text += text;
    } else {
      segments_.push_back({pitch, text.toString()});
    }
  }
  std::vector<PitchSegment> Take() { return std::move(segments_); }

 private:
  std::vector<PitchSegment> segments_;
};

int ClampedPitch(long long raw) {
  return static_cast<int>(std::clamp<long long>(raw, kMinMarkupPitch, kMaxMarkupPitch));
}

}  // namespace

std::vector<PitchSegment> ReadSapiMarkup(const QString& text) {
  SegmentCollector out;
  if (!text.startsWith(u'<')) {
    out.Add(0, text);
    return out.Take();
  }
  long long pitch = 0;
  std::vector<long long> enclosing;  // the pitch before each open tag
  qsizetype literal_start = 0;
  qsizetype pos = 0;
  while (pos < text.size()) {
    const qsizetype next_tag = text.indexOf(u'<', pos);
    if (next_tag < 0) break;
    const std::optional<TagReader::Tag> tag = TagReader(text, next_tag).Read();
    // A closing tag with nothing open is not markup we honour: it stays text.
    if (!tag || (tag->kind == TagReader::Kind::kClose && enclosing.empty())) {
      pos = next_tag + 1;
      continue;
    }
    out.Add(ClampedPitch(pitch), QStringView(text).sliced(literal_start, next_tag - literal_start));
    switch (tag->kind) {
      case TagReader::Kind::kOpen:
        enclosing.push_back(pitch);
        pitch = Saturate(pitch + tag->middle);
        break;
      case TagReader::Kind::kEmpty:
        pitch = Saturate(pitch + tag->middle);
        break;
      case TagReader::Kind::kClose:
        pitch = enclosing.back();
        enclosing.pop_back();
        break;
    }
    pos = literal_start = tag->end;
  }
  out.Add(ClampedPitch(pitch), QStringView(text).sliced(literal_start));
  return out.Take();
}

QString EscapeSsml(const QString& text) {
  QString out;
  out.reserve(text.size() + text.size() / 8);
  for (const QChar c : text) {
    switch (c.unicode()) {
      case u'&':
        out += u"&amp;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'"':
        out += u"&quot;";
        break;
      case u'\'':
        out += u"&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

QString UnescapeSsml(const QString& text) {
  static constexpr struct {
    QStringView entity;
    QChar character;
  } kEntities[] = {
      {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''}};
  QString out;
  out.reserve(text.size());
  qsizetype pos = 0;
  while (pos < text.size()) {
    bool replaced = false;
    if (text[pos] == u'&') {
      for (const auto& entry : kEntities) {
        if (QStringView(text).sliced(pos).startsWith(entry.entity)) {
          out += entry.character;
          pos += entry.entity.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[pos++];
  }
  return out;
}

}  // namespace voxmere
