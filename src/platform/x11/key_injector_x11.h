// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <set>

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
  // A modifier is typed on a key the user did not hold (the right Ctrl when
  // the left one was held): the X server takes the user's late release of a
  // key for a release of ours when both are the same key, and the C would
  // then be typed into the document in place of the selection.
  void KeyEvent(int virtual_key, bool key_up) override;

 private:
  unsigned char KeyCodeFor(int virtual_key) const;

  _XDisplay* display_ = nullptr;
  // The modifier keys the user held when they were last released for him.
  std::set<unsigned char> released_;
  // The key each virtual key went down on, for its release.
  std::map<int, unsigned char> pressed_;
};

}  // namespace voxmere
