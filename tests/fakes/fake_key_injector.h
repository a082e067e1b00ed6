// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <set>

#include "fakes/fake_capture_log.h"
#include "platform/key_injector.h"

namespace voxmere {

// A keyboard: which keys are down and whether our hot key holds it grabbed.
// Logs "EndKeyboardGrab", "ReleaseHeldModifiers", "KeyDown 0x11",
// "KeyUp 0x43", ... A test sees every typed key press through on_press.
class FakeKeyInjector : public KeyInjector {
 public:
  struct Press {
    int virtual_key;
    std::set<int> held;  // keys down when it was pressed, itself excluded
    bool grabbed;        // the press came back to us instead of the focus
  };

  explicit FakeKeyInjector(CaptureLog& log) : log_(log) {}

  // The user holds a key down (the hot key's modifiers) and the hot key press
  // grabbed the keyboard.
  void Hold(int virtual_key) { held_.insert(virtual_key); }
  void Grab() { grabbed_ = true; }
  const std::set<int>& Held() const { return held_; }
  bool Grabbed() const { return grabbed_; }

  std::function<void(const Press&)> on_press;

  void EndKeyboardGrab() override;
  void ReleaseHeldModifiers() override;
  void KeyEvent(int virtual_key, bool key_up) override;

 private:
  CaptureLog& log_;
  std::set<int> held_;
  bool grabbed_ = false;
};

}  // namespace voxmere
