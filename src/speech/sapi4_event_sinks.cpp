// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi4_event_sinks.h"

#include "speech/sapi4_voice.h"

namespace voxmere {

Sapi4Voice* Sapi4EngineEvents::Owner() const {
  const std::shared_ptr<Sapi4Voice*> owner = owner_.lock();
  return owner ? *owner : nullptr;
}

TtsResult Sapi4EngineEvents::AttribChanged(std::uint32_t) { return TtsResult::Ok(); }

TtsResult Sapi4EngineEvents::AudioStart(std::uint64_t) {
  if (Sapi4Voice* owner = Owner()) owner->HandleAudioStart(*this);
  return TtsResult::Ok();
}

TtsResult Sapi4EngineEvents::AudioStop(std::uint64_t) {
  if (Sapi4Voice* owner = Owner()) owner->HandleAudioStop(*this);
  return TtsResult::Ok();
}

TtsResult Sapi4EngineEvents::Visual(std::uint64_t, char, char, std::uint32_t, const TtsMouth&) {
  return TtsResult::Ok();
}

TtsResult Sapi4TextEvents::TextDataDone(std::uint64_t, std::uint32_t) { return TtsResult::Ok(); }

TtsResult Sapi4TextEvents::TextDataStarted(std::uint64_t) { return TtsResult::Ok(); }

TtsResult Sapi4TextEvents::BookMark(std::uint64_t, std::uint32_t) { return TtsResult::Ok(); }

TtsResult Sapi4TextEvents::WordPosition(std::uint64_t, std::uint32_t) { return TtsResult::Ok(); }

}  // namespace voxmere
