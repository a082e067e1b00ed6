// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text for the voice: reading its pitch markup never fails, keeps
// every character that is not a recognised pitch tag, in order, agrees with a
// second reading written with regular expressions, and the SSML built from
// it is escaped so that it reads back as the same text.
#include <QRegularExpression>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/speechd/sapi_markup.h"
#include "platform/speechd/speechd_utterance.h"

namespace voxmere {
namespace {

long long SaturatedNumber(const QString& digits) {
  long long value = 0;
  for (const QChar c : digits)
    value = std::min<long long>(value * 10 + (c.unicode() - u'0'), 1'000'000);
  return value;
}

// The same rules, said another way: anchored regular expressions at every
// '<', a stack of enclosing pitches, closing tags only while one is open.
std::vector<PitchSegment> ReferenceRead(const QString& text) {
  static const QRegularExpression open(
      QStringLiteral("<[pP][iI][tT][cC][hH][ \\t\\r\\n]+[mM][iI][dD][dD][lL][eE][ \\t\\r\\n]*=[ "
                     "\\t\\r\\n]*(?:\"[ \\t\\r\\n]*([+-]?)"
                     "([0-9]+)[ \\t\\r\\n]*\"|'[ \\t\\r\\n]*([+-]?)([0-9]+)[ \\t\\r\\n]*')[ "
                     "\\t\\r\\n]*(/?)>"));
  static const QRegularExpression close(QStringLiteral("</[pP][iI][tT][cC][hH][ \\t\\r\\n]*>"));
  std::vector<PitchSegment> out;
  auto add = [&](long long pitch, const QString& part) {
    if (part.isEmpty()) return;
    const int clamped = static_cast<int>(std::clamp<long long>(pitch, -10, 10));
    if (!out.empty() && out.back().pitch == clamped) {
      out.back().text += part;
    } else {
      out.push_back({clamped, part});
    }
  };
  if (!text.startsWith(u'<')) {
    add(0, text);
    return out;
  }
  long long pitch = 0;
  std::vector<long long> enclosing;
  QString literal;
  qsizetype i = 0;
  while (i < text.size()) {
    if (text[i] == u'<') {
      const auto anchored = QRegularExpression::AnchorAtOffsetMatchOption;
      const QRegularExpressionMatch opened =
          open.match(text, i, QRegularExpression::NormalMatch, anchored);
      if (opened.hasMatch()) {
        add(pitch, literal);
        literal.clear();
        const bool quoted_double = !opened.captured(2).isEmpty();
        const QString sign = opened.captured(quoted_double ? 1 : 3);
        long long middle = SaturatedNumber(opened.captured(quoted_double ? 2 : 4));
        if (sign == u"-") middle = -middle;
        if (opened.captured(5).isEmpty()) enclosing.push_back(pitch);
        pitch = std::clamp<long long>(pitch + middle, -1'000'000, 1'000'000);
        i = opened.capturedEnd();
        continue;
      }
      const QRegularExpressionMatch closed =
          close.match(text, i, QRegularExpression::NormalMatch, anchored);
      if (closed.hasMatch() && !enclosing.empty()) {
        add(pitch, literal);
        literal.clear();
        pitch = enclosing.back();
        enclosing.pop_back();
        i = closed.capturedEnd();
        continue;
      }
    }
    literal += text[i++];
  }
  add(pitch, literal);
  return out;
}

void Check(const QString& text) {
  const std::vector<PitchSegment> segments = ReadSapiMarkup(text);
  QString joined;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    FUZZ_CHECK(!segments[i].text.isEmpty());
    FUZZ_CHECK(segments[i].pitch >= kMinMarkupPitch && segments[i].pitch <= kMaxMarkupPitch);
    FUZZ_CHECK(i == 0 || segments[i].pitch != segments[i - 1].pitch);
    joined += segments[i].text;
  }
  FUZZ_CHECK(joined.size() <= text.size());
  if (!text.startsWith(u'<')) FUZZ_CHECK(joined == text);
  FUZZ_CHECK(segments == ReferenceRead(text));

  const QString escaped = EscapeSsml(text);
  FUZZ_CHECK(UnescapeSsml(escaped) == text);
  FUZZ_CHECK(!escaped.contains(u'<') && !escaped.contains(u'>') && !escaped.contains(u'"') &&
             !escaped.contains(u'\''));

  const QString ssml = QString::fromUtf8(MakeSpeechdUtterance(text).ssml);
  FUZZ_CHECK(ssml.startsWith(QStringLiteral("<speak>")) &&
             ssml.endsWith(QStringLiteral("</speak>")));
  FUZZ_CHECK(!ssml.contains(QChar(0)));
}

}  // namespace
}  // namespace voxmere

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  voxmere::Check(QString::fromUtf8(bytes));
  return 0;
}
