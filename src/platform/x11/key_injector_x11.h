// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/key_injector.h"

struct _XDisplay;  // Xlib's Display

namespace voxmere {

// Typing through the XTest extension, on an Xlib connection of our own to
// Qt's display; the keyboard grab is ended on Qt's connection, which holds
// it. Without an X display or XTest it types nothing.
class X11KeyInjector : public KeyInjector {
 public:
  X11KeyInjector();
  ~X11KeyInjector() override;
  X11KeyInjector(const X11KeyInjector&) = delete;
  X11KeyInjector& operator=(const X11KeyInjector&) = delete;

  // Whether key events can be typed.
  bool Available() const { return display_ != nullptr; }

  void EndKeyboardGrab() override;
  void ReleaseHeldModifiers() override;
  // Knows the keys the program types: Shift, Ctrl, Alt, letters and digits.
  void KeyEvent(int virtual_key, bool key_up) override;

 private:
  _XDisplay* display_ = nullptr;
};

}  // namespace voxmere
