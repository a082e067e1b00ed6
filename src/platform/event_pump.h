// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxmere {

// The program's event loop, run from inside a handler.
class EventPump {
 public:
  virtual ~EventPump() = default;

  // Handles every event that is waiting, then returns.
  virtual void ProcessEvents() = 0;

  // Waits the given time, handling events as they arrive meanwhile.
  virtual void Wait(int milliseconds) = 0;
};

}  // namespace voxmere
