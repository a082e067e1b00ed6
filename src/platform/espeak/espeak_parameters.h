// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <cstdint>

namespace voxmere {

// An engine's speaking parameters in the units the engine interface reports:
// speed in words per minute and pitch in espeak-ng's own units, both held to
// espeak-ng's limits (it does not check them: a rate below 80 acts as 80 and
// pitch stops at 100), and volume as two 16-bit channel levels.
struct EspeakParameters {
  static constexpr std::uint32_t kMinSpeed = 80;
  static constexpr std::uint32_t kMaxSpeed = 450;
  static constexpr std::uint32_t kDefaultSpeed = 175;
  static constexpr std::uint16_t kMinPitch = 0;
  static constexpr std::uint16_t kMaxPitch = 100;
  static constexpr std::uint16_t kDefaultPitch = 50;
  static constexpr std::uint32_t kFullVolume = 0xFFFFFFFFu;  // both channels at 65535

  std::uint32_t speed = kDefaultSpeed;
  std::uint16_t pitch = kDefaultPitch;
  std::uint32_t volume = kFullVolume;

  // Out-of-range requests take the nearest limit.
  void SetSpeed(std::uint64_t words_per_minute);
  void SetPitch(std::uint64_t value);
  // Low 16 bits left level, high 16 bits right; every value is valid.
  void SetVolume(std::uint32_t levels) { volume = levels; }

  // espeak-ng's volume (0 silent .. 100 normal) for the louder channel: the
  // output is mono, so one channel set lower must not quieten the voice.
  int EspeakVolume() const;
};

// Applies the control tags in `tags`, such as "\Spd=180\" or several in a row
// ("\Spd=180\\Pit=60\"), to `parameters`. Tag names ignore letter case;
// unknown tags, tags without a decimal value and text between tags are
// ignored. Returns the number of tags that set a parameter.
int ApplyControlTags(const QByteArray& tags, EspeakParameters* parameters);

}  // namespace voxmere
