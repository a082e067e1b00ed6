// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_parameters.h"

#include <QList>
#include <algorithm>
#include <limits>
#include <optional>

namespace voxmere {
namespace {

// A decimal value with no sign; values past 64 bits saturate. Blanks around
// the digits are allowed, nothing else.
std::optional<std::uint64_t> ParseValue(QByteArray text) {
  text = text.trimmed();
  if (text.isEmpty()) return std::nullopt;
  std::uint64_t value = 0;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return value;
}

bool ApplyTag(const QByteArray& name, const QByteArray& value_text, EspeakParameters* parameters) {
  const std::optional<std::uint64_t> value = ParseValue(value_text);
  if (!value) return false;
  const QByteArray key = name.trimmed().toLower();
  if (key == "spd") {
    parameters->SetSpeed(*value);
  } else if (key == "pit") {
    parameters->SetPitch(*value);
  } else if (key == "vol") {
    parameters->SetVolume(static_cast<std::uint32_t>(
        std::min<std::uint64_t>(*value, std::numeric_limits<std::uint32_t>::max())));
  } else {
    return false;
  }
  return true;
}

}  // namespace

void EspeakParameters::SetSpeed(std::uint64_t words_per_minute) {
  speed =
      static_cast<std::uint32_t>(std::clamp<std::uint64_t>(words_per_minute, kMinSpeed, kMaxSpeed));
}

void EspeakParameters::SetPitch(std::uint64_t value) {
  pitch = static_cast<std::uint16_t>(std::clamp<std::uint64_t>(value, kMinPitch, kMaxPitch));
}

int EspeakParameters::EspeakVolume() const {
  const std::uint32_t level = std::max(volume & 0xFFFFu, volume >> 16);
  return static_cast<int>((level * 100 + 65535 / 2) / 65535);
}

int ApplyControlTags(const QByteArray& tags, EspeakParameters* parameters) {
  // Every stretch between two backslashes may be a tag: this reads tags back
  // to back ("\A=1\\B=2\"), sharing a backslash ("\A=1\B=2\") or with text
  // between them, whose stretch then has no known name. Text before the first
  // backslash and an unfinished tag after the last are not tags.
  const QList<QByteArray> parts = tags.split('\\');
  int applied = 0;
  for (qsizetype i = 1; i + 1 < parts.size(); ++i) {
    const qsizetype equals = parts[i].indexOf('=');
    if (equals >= 0 && ApplyTag(parts[i].left(equals), parts[i].mid(equals + 1), parameters)) {
      ++applied;
    }
  }
  return applied;
}

}  // namespace voxmere
