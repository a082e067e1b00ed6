// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_voice_catalog.h"

#include "platform/exception.h"
#include "platform/speechd/speechd_log.h"

namespace voxmere {

std::vector<SpeechdVoice> SpeechdVoiceCatalog::List() const {
  return ListSpeechdVoices(address_, std::chrono::steady_clock::now() + list_timeout_);
}

void SpeechdVoiceCatalog::Prefetch() {
  if (voices_ || prefetched_.valid()) return;
  prefetched_ = std::async(std::launch::async, [this] { return List(); });
}

bool SpeechdVoiceCatalog::Prefetching() const {
  return !voices_ && prefetched_.valid() &&
         prefetched_.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

SpeechdVoiceCatalog::Voices SpeechdVoiceCatalog::Get() {
  if (!voices_ && prefetched_.valid()) {
    try {
      voices_ = std::make_shared<const std::vector<SpeechdVoice>>(prefetched_.get());
    } catch (const Exception& e) {
      qCDebug(SpeechdLog, "The early voice listing failed (%s); listing them again",
              qUtf8Printable(e.Message()));
    }
  }
  if (!voices_) {
    try {
      voices_ = std::make_shared<const std::vector<SpeechdVoice>>(List());
    } catch (const Exception& e) {
      throw Exception(
          QStringLiteral("Speech Dispatcher did not list its voices: %1.").arg(e.Message()));
    }
  }
  return voices_;
}

}  // namespace voxmere
