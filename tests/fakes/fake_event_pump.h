// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>

#include "fakes/fake_capture_log.h"
#include "platform/event_pump.h"

namespace voxmere {

// An event queue: Post() queues a handler (another application's answer, a
// timer tick, a further hot key) that runs only when the program pumps.
// Logs "ProcessEvents", and for WaitUntil (which has no clock and runs
// every event) "Wait <ms> until" then "ended early" when its condition held
// after the events or "ran out".
class FakeEventPump : public EventPump {
 public:
  explicit FakeEventPump(CaptureLog& log) : log_(log) {}

  void Post(std::function<void()> handler) { queue_.push_back(std::move(handler)); }
  bool Idle() const { return queue_.empty(); }

  // Runs once inside the next Wait, after the events waiting then (something
  // that arrives during the wait).
  std::function<void()> during_wait;

  void ProcessEvents() override;
  void WaitUntil(int milliseconds, const std::function<bool()>& done) override;

 private:
  void RunQueue();

  CaptureLog& log_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace voxmere
