// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text for the voice: reading its pitch markup never fails, finds
// the words inside the text, agrees with a second reading written with
// regular expressions, and the SSML built from it is escaped so that it reads
// back as the same text.
#include <QRegularExpression>
#include <algorithm>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "platform/speechd/sapi_markup.h"
#include "platform/speechd/speechd_utterance.h"

namespace voxmere {
namespace {

// The same rule, said another way: an anchored regular expression for the
// leading tag, and one for a close that ends the text.
SapiMarkupText ReferenceRead(const QString& text) {
  static const QRegularExpression open(
      QStringLiteral("^<[pP][iI][tT][cC][hH][ \\t\\r\\n]+[mM][iI][dD][dD][lL][eE][ \\t\\r\\n]*=[ "
                     "\\t\\r\\n]*(?:\"[ \\t\\r\\n]*([+-]?)"
                     "([0-9]+)[ \\t\\r\\n]*\"|'[ \\t\\r\\n]*([+-]?)([0-9]+)[ \\t\\r\\n]*')[ "
                     "\\t\\r\\n]*(/?)>"));
  static const QRegularExpression close(QStringLiteral("</[pP][iI][tT][cC][hH][ \\t\\r\\n]*>\\z"));
  const QRegularExpressionMatch opened = open.match(text);
  if (!opened.hasMatch()) return {0, 0, text.size()};
  const bool quoted_double = !opened.captured(2).isEmpty();
  const QString digits = opened.captured(quoted_double ? 2 : 4);
  // Leading zeros aside, more than two digits is beyond the range.
  const qsizetype first = digits.indexOf(QRegularExpression(QStringLiteral("[1-9]")));
  const int magnitude = first < 0 ? 0 : digits.size() - first > 2 ? 99 : digits.mid(first).toInt();
  const int sign = opened.captured(quoted_double ? 1 : 3) == u"-" ? -1 : 1;
  SapiMarkupText read{std::clamp(sign * magnitude, -10, 10), opened.capturedEnd(), text.size()};
  if (opened.captured(5).isEmpty()) {
    const QRegularExpressionMatch closed = close.match(text, read.begin);
    // The last '<' begins the close.
    if (closed.hasMatch() && text.lastIndexOf(u'<') == closed.capturedStart()) {
      read.end = closed.capturedStart();
    }
  }
  return read;
}

void Check(const QString& text) {
  const SapiMarkupText read = ReadSapiMarkup(text);
  FUZZ_CHECK(read.pitch >= kMinMarkupPitch && read.pitch <= kMaxMarkupPitch);
  FUZZ_CHECK(0 <= read.begin && read.begin <= read.end && read.end <= text.size());
  if (!text.startsWith(u'<')) FUZZ_CHECK(read == (SapiMarkupText{0, 0, text.size()}));
  FUZZ_CHECK(read == ReferenceRead(text));

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
