// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_voice_catalog.h"

#include "platform/exception.h"

namespace voxmere {

SpeechdVoiceCatalog::Voices SpeechdVoiceCatalog::Get() {
  if (!voices_) {
    try {
      voices_ = std::make_shared<const std::vector<SpeechdVoice>>(
          ListSpeechdVoices(address_, std::chrono::steady_clock::now() + list_timeout_));
    } catch (const Exception& e) {
      throw Exception(
          QStringLiteral("Speech Dispatcher did not list its voices: %1.").arg(e.Message()));
    }
  }
  return voices_;
}

}  // namespace voxmere
