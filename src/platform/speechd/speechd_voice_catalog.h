// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <vector>

#include "platform/speechd/speechd_address.h"
#include "platform/speechd/speechd_voices.h"

namespace voxmere {

// The voices of one speech-dispatcher, listed once and kept: the program asks
// for the voice list before every reading, and a listing takes ~0.7 s, during
// which the daemon serves no client at all (espeak-ng's module answers with
// 13,000 lines). So the list is taken when first asked for, on the asking
// thread, rather than in the background where it would hold up our own
// requests. The one exception is the start of the program: Prefetch lists
// them while the program is still starting, before it has a request of its
// own to make.
class SpeechdVoiceCatalog {
 public:
  using Voices = std::shared_ptr<const std::vector<SpeechdVoice>>;

  // `list_timeout` bounds one listing.
  SpeechdVoiceCatalog(SpeechdAddress address, std::chrono::milliseconds list_timeout)
      : address_(std::move(address)), list_timeout_(list_timeout) {}

  const SpeechdAddress& Address() const { return address_; }

  // Starts listing the voices on a thread of its own; Get waits for that
  // listing. Where it fails (no daemon yet: it is started by the first
  // connection), Get lists them again itself.
  void Prefetch();
  // Whether that early listing is still going on.
  bool Prefetching() const;

  // The voices, listed now when not known yet (again after a failed
  // listing). Throws voxmere::Exception when the listing fails.
  Voices Get();

 private:
  std::vector<SpeechdVoice> List() const;

  const SpeechdAddress address_;
  const std::chrono::milliseconds list_timeout_;
  Voices voices_;
  std::future<std::vector<SpeechdVoice>> prefetched_;
};

}  // namespace voxmere
