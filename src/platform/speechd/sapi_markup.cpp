// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/sapi_markup.h"

#include <algorithm>
#include <optional>

namespace voxmere {
namespace {

// Pitch numbers saturate here, far outside the clamped range, so that no
// number of digits can overflow them.
constexpr long long kPitchSaturation = 1'000'000;

bool IsXmlBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

long long Saturate(long long value) {
  return std::clamp(value, -kPitchSaturation, kPitchSaturation);
}

// Reads one pitch tag at a '<'. Cursor-style helpers keep the grammar readable.
class TagReader {
 public:
  TagReader(QStringView text, qsizetype at) : text_(text), pos_(at) {}

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

  QStringView text_;
  qsizetype pos_;
};

int ClampedPitch(long long raw) {
  return static_cast<int>(std::clamp<long long>(raw, kMinMarkupPitch, kMaxMarkupPitch));
}

}  // namespace

SapiMarkupText ReadSapiMarkup(QStringView text) {
  SapiMarkupText read{0, 0, text.size()};
  const std::optional<TagReader::Tag> lead = TagReader(text, 0).Read();
  if (!lead || lead->kind == TagReader::Kind::kClose) return read;
  read.pitch = ClampedPitch(lead->middle);
  read.begin = lead->end;
  if (lead->kind == TagReader::Kind::kOpen) {
    const qsizetype last = text.lastIndexOf(u'<');
    if (last >= read.begin) {
      const std::optional<TagReader::Tag> close = TagReader(text, last).Read();
      if (close && close->kind == TagReader::Kind::kClose && close->end == text.size()) {
        read.end = last;
      }
    }
  }
  return read;
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
