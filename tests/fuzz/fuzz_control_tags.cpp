// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as injected control tags and checks what must hold
// for every input: the parameters stay within the engine's limits, no more
// tags take effect than the text can hold, and the tags set values rather
// than change them, so reading them twice gives the same parameters.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "platform/espeak/espeak_parameters.h"

namespace {

bool Same(const voxmere::EspeakParameters& a, const voxmere::EspeakParameters& b) {
  return a.speed == b.speed && a.pitch == b.pitch && a.volume == b.volume;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray tags(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  voxmere::EspeakParameters parameters;
  const int applied = voxmere::ApplyControlTags(tags, &parameters);
  FUZZ_CHECK(applied >= 0);
  FUZZ_CHECK(applied <= tags.count('\\') - 1 || applied == 0);
  FUZZ_CHECK(parameters.speed >= voxmere::EspeakParameters::kMinSpeed);
  FUZZ_CHECK(parameters.speed <= voxmere::EspeakParameters::kMaxSpeed);
  FUZZ_CHECK(parameters.pitch <= voxmere::EspeakParameters::kMaxPitch);
  FUZZ_CHECK(parameters.EspeakVolume() >= 0 && parameters.EspeakVolume() <= 100);
  if (applied == 0) FUZZ_CHECK(Same(parameters, voxmere::EspeakParameters{}));

  voxmere::EspeakParameters again = parameters;
  FUZZ_CHECK(voxmere::ApplyControlTags(tags, &again) == applied);
  FUZZ_CHECK(Same(again, parameters));
  return 0;
}
