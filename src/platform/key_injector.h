// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxmere {

// Typing into the system's keyboard input, as if the user typed: the keys go
// to whatever window has the keyboard focus, in any application.
class KeyInjector {
 public:
  // Windows virtual-key codes the program types.
  static constexpr int kVkControl = 0x11;
  static constexpr int kVkC = 0x43;

  virtual ~KeyInjector() = default;

  // Ends the keyboard grab that a hot key press started in this program;
  // until then every typed key would come back to us.
  virtual void EndKeyboardGrab() = 0;

  // Releases every modifier key (Shift, Ctrl, Alt, Super, AltGr) that is
  // still held down, such as the Alt of an Alt+Ins hot key: many applications
  // ignore Ctrl+C while another modifier is down. Lock keys stay as they are.
  virtual void ReleaseHeldModifiers() = 0;

  // One key event of a Windows virtual-key code: pressed, or released when
  // key_up. Codes the keyboard has no key for are ignored.
  virtual void KeyEvent(int virtual_key, bool key_up) = 0;
};

}  // namespace voxmere
