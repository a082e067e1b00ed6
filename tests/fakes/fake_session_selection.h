// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "platform/session_selection.h"

namespace voxmere {

// The session's selection: every read gives `result` and notes its bound.
class FakeSessionSelection : public SessionSelection {
 public:
  SessionSelectionText result;
  std::vector<int> reads;

  SessionSelectionText Read(int milliseconds) override {
    reads.push_back(milliseconds);
    return result;
  }
};

}  // namespace voxmere
