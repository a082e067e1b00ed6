// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "platform/speech_voice.h"
#include "platform/speechd/speechd_address.h"
#include "platform/speechd/speechd_session.h"
#include "platform/speechd/speechd_voice_catalog.h"

namespace voxmere {

struct SpeechdOptions {
  // Unset: SPEECHD_ADDRESS, else the user's socket (as libspeechd finds it).
  std::optional<SpeechdAddress> address;
  // Let libspeechd start the daemon where nothing listens (as every
  // speech-dispatcher client does).
  bool autospawn = true;
  SpeechdTimeouts timeouts;
  // The one listing of the voices (in the first GetVoices).
  std::chrono::milliseconds list_timeout{5000};
};

// Creates voice objects on speech-dispatcher. There is no running-object
// table here: GetActiveObject finds nothing, and each CreateInstance opens
// its own connection (the voice list is shared between them).
class SpeechdVoiceConnector : public SpeechVoiceConnector {
 public:
  explicit SpeechdVoiceConnector(SpeechdOptions options = {});

  std::shared_ptr<SpeechVoiceServer> GetActiveObject() override;
  // Connects and checks that sound plays; throws voxmere::Exception with the
  // reason within options.timeouts.open (and a little more to close what
  // was opened).
  std::shared_ptr<SpeechVoiceServer> CreateInstance() override;

  // Starts listing the voices of the daemon CreateInstance will use, so that
  // the list is there, or nearly, when the program first asks for it.
  void PrefetchVoices();
  bool VoicesReady() override;

 private:
  std::shared_ptr<SpeechdVoiceCatalog> CatalogFor(const SpeechdAddress& address);

  SpeechdOptions options_;
  std::shared_ptr<SpeechdVoiceCatalog> catalog_;
};

}  // namespace voxmere
