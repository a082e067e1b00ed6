// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "platform/remote_control.h"

namespace voxmere {

// Keeps the requests offered and the reading changes told, in order.
class FakeRemoteControlService : public RemoteControlService {
 public:
  bool Offer(RemoteRequests& offered) override {
    requests = &offered;
    return offer_result;
  }
  void ReadingChanged(bool reading) override { changes.push_back(reading); }

  RemoteRequests* requests = nullptr;
  bool offer_result = true;
  std::vector<bool> changes;
};

}  // namespace voxmere
