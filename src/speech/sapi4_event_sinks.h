// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "platform/tts_engine.h"

namespace voxmere {

class Sapi4Voice;

// Engine notifications for Sapi4Voice: audio start and stop become OnStart and
// OnStop; visual cues are not used. Every method answers success, also once the
// component is gone.
class Sapi4EngineEvents : public TtsNotifySink {
 public:
  explicit Sapi4EngineEvents(std::weak_ptr<Sapi4Voice*> owner) : owner_(std::move(owner)) {}

  TtsResult AttribChanged(std::uint32_t attribute) override;
  TtsResult AudioStart(std::uint64_t time_stamp) override;
  TtsResult AudioStop(std::uint64_t time_stamp) override;
  TtsResult Visual(std::uint64_t time_stamp, char ipa_phoneme, char engine_phoneme,
                   std::uint32_t hints, const TtsMouth& mouth) override;

 private:
  Sapi4Voice* Owner() const;

  std::weak_ptr<Sapi4Voice*> owner_;
};

// Per-text notifications, which the engine needs with every text: the program
// uses none of them, so each answers success.
class Sapi4TextEvents : public TtsBufNotifySink {
 public:
  TtsResult TextDataDone(std::uint64_t time_stamp, std::uint32_t flags) override;
  TtsResult TextDataStarted(std::uint64_t time_stamp) override;
  TtsResult BookMark(std::uint64_t time_stamp, std::uint32_t mark) override;
  TtsResult WordPosition(std::uint64_t time_stamp, std::uint32_t byte_offset) override;
};

}  // namespace voxmere
