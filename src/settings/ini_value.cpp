// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_value.h"

#include "platform/exception.h"

#include <cstdint>

namespace voxmere {
namespace {

bool IsBlank(QChar ch) { return ch == u' ' || ch == u'\t'; }

int HexDigit(QChar ch) {
  const char16_t u = ch.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

}  // namespace

QStringView TrimIniBlanks(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.sliced(begin, end - begin);
}

QString TrimIniValue(QStringView text) {
  QStringView value = TrimIniBlanks(text);
  if (value.size() > kIniValueMaxLength) {
    qsizetype length = kIniValueMaxLength;
    // Half a surrogate pair would be an invalid character.
    if (value[length - 1].isHighSurrogate()) --length;
    value = value.first(length);
  }
  return value.toString();
}

std::optional<int> ParseIniInteger(QStringView text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  bool hex = false;
  if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return std::nullopt;  // no digits

  if (hex) {
    // Leading zeros don't count against the 32 bits; the value does.
    std::uint32_t value = 0;
    for (; i < n; ++i) {
      const int digit = HexDigit(text[i]);
      if (digit < 0 || value > 0x0FFFFFFFu) return std::nullopt;
      value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    if (negative) value = 0u - value;
    return static_cast<int>(static_cast<std::int32_t>(value));
  }

  // Accumulate the magnitude; INT_MIN's magnitude is one more than INT_MAX.
  const std::uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  std::uint32_t value = 0;
  for (; i < n; ++i) {
    const char16_t u = text[i].unicode();
    if (u < u'0' || u > u'9') return std::nullopt;
    const std::uint32_t digit = u - u'0';
    if (value > (limit - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  if (negative) return static_cast<int>(static_cast<std::int32_t>(0u - value));
  return static_cast<int>(value);
}

int StoredInteger(const QString& text) {
  const std::optional<int> number = ParseIniInteger(text);
  if (!number) throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return *number;
}

}  // namespace voxmere
