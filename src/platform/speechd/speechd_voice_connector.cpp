// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_voice_connector.h"

#include "platform/speechd/piecewise_voice_server.h"
#include "platform/speechd/speechd_voice_server.h"

namespace voxmere {

SpeechdVoiceConnector::SpeechdVoiceConnector(SpeechdOptions options)
    : options_(std::move(options)) {}

std::shared_ptr<SpeechVoiceServer> SpeechdVoiceConnector::GetActiveObject() { return nullptr; }

std::shared_ptr<SpeechVoiceServer> SpeechdVoiceConnector::CreateInstance() {
  const SpeechdAddress address = options_.address ? *options_.address : DefaultSpeechdAddress();
  // Long texts go to the daemon a piece at a time.
  return std::make_shared<PiecewiseVoiceServer>(std::make_shared<SpeechdVoiceServer>(
      address, options_.autospawn, options_.timeouts, CatalogFor(address)));
}

void SpeechdVoiceConnector::PrefetchVoices() {
  CatalogFor(options_.address ? *options_.address : DefaultSpeechdAddress())->Prefetch();
}

bool SpeechdVoiceConnector::VoicesReady() {
  return catalog_ == nullptr || !catalog_->Prefetching();
}

std::shared_ptr<SpeechdVoiceCatalog> SpeechdVoiceConnector::CatalogFor(
    const SpeechdAddress& address) {
  if (!catalog_ || !(catalog_->Address() == address)) {
    catalog_ = std::make_shared<SpeechdVoiceCatalog>(address, options_.list_timeout);
  }
  return catalog_;
}

}  // namespace voxmere
