// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace voxmere {

// The program's event loop, run from inside a handler.
class EventPump {
 public:
  virtual ~EventPump() = default;

  // Handles every event that is waiting, then returns.
  virtual void ProcessEvents() = 0;

  // Waits at most the given time, handling events as they arrive meanwhile,
  // and ends as soon as `done` holds; `done` is asked after each batch of
  // events and at least every millisecond.
  virtual void WaitUntil(int milliseconds, const std::function<bool()>& done) = 0;

  // As WaitUntil, but the user's keys and clicks wait until afterwards: the
  // screen is kept up to date while nothing may be pressed yet.
  virtual void WaitWithoutInput(int milliseconds, const std::function<bool()>& done) {
    WaitUntil(milliseconds, done);
  }
};

}  // namespace voxmere
