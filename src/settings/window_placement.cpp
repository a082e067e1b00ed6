// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/window_placement.h"

#include <QStringList>
#include <limits>

namespace voxmere {
namespace {

// One decimal integer with an optional sign and nothing else; none when it
// does not fit an int.
std::optional<int> ParsePlacementNumber(QStringView text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > -static_cast<long long>(std::numeric_limits<int>::min())) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

QString FormatPlacementNumbers(int a, int b, int c, int d) {
  return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

std::optional<PlacementNumbers> ParsePlacementNumbers(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 4) return std::nullopt;
  int numbers[4];
  for (int i = 0; i < 4; ++i) {
    const std::optional<int> number = ParsePlacementNumber(QStringView(parts[i]).trimmed());
    if (!number) return std::nullopt;
    numbers[i] = *number;
  }
  return PlacementNumbers{numbers[0], numbers[1], numbers[2], numbers[3]};
}

}  // namespace voxmere
