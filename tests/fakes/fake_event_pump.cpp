// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_event_pump.h"

#include <string>
#include <utility>

namespace voxmere {

void FakeEventPump::RunQueue() {
  // Handlers may post more handlers (and pump themselves); take one at a time.
  while (!queue_.empty()) {
    std::function<void()> handler = std::move(queue_.front());
    queue_.pop_front();
    handler();
  }
}

void FakeEventPump::ProcessEvents() {
  log_.push_back("ProcessEvents");
  RunQueue();
}

void FakeEventPump::WaitUntil(int milliseconds, const std::function<bool()>& done) {
  log_.push_back("Wait " + std::to_string(milliseconds) + " until");
  RunQueue();
  if (std::function<void()> arriving = std::exchange(during_wait, nullptr)) arriving();
  RunQueue();
  log_.push_back(done() ? "ended early" : "ran out");
}

}  // namespace voxmere
