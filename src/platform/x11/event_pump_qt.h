// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEventLoop>

#include "platform/event_pump.h"

namespace voxmere {

// Qt's event loop, run from inside a handler.
class QtEventPump : public EventPump {
 public:
  void ProcessEvents() override;
  // Sleeps in the event loop, not in a system call: X events keep coming in
  // (the clipboard restore needs the copy's selection events to have been
  // seen) and other handlers run meanwhile. Wakes every millisecond to ask
  // `done`: what it watches may arrive outside Qt's event loop (over another
  // X connection).
  void WaitUntil(int milliseconds, const std::function<bool()>& done) override;
  void WaitWithoutInput(int milliseconds, const std::function<bool()>& done) override;

 private:
  static void Wait(int milliseconds, const std::function<bool()>& done,
                   QEventLoop::ProcessEventsFlags flags);
};

}  // namespace voxmere
