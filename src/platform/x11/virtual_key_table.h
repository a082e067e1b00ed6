// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace voxmere {

// An X key symbol (what X11 calls KeySym), kept 32 bits wide as on the wire.
using Keysym = std::uint32_t;
// An X key code: a key's position on the keyboard.
using Keycode = std::uint8_t;

// How the X key of a Windows virtual-key code is found on the current keyboard.
enum class KeyLookup {
  // By its symbols (function keys, keypad, modifiers, ...).
  kBySymbol,
  // By its symbols, else by its position on a US keyboard: letters and digits
  // stay reachable on layouts without Latin letters.
  kBySymbolThenPosition,
  // By its position on a US keyboard alone: the punctuation keys carry other
  // characters on other layouts, and Windows names them by position too.
  kByPosition,
};

// Where a Windows virtual-key code lives on an X keyboard.
struct VirtualKeyInfo {
  int virtual_key = 0;
  // The symbols that make this key (unused places 0); the first is the one a
  // US keyboard shows on it.
  std::array<Keysym, 3> keysyms{};
  // The key's X key code on a US keyboard (evdev numbering, used by Xorg,
  // Xvfb and XWayland); 0 when it has no fixed place.
  Keycode us_keycode = 0;
  KeyLookup lookup = KeyLookup::kBySymbol;
};

// The X key of a virtual-key code, or nullptr when X has no such key (and for
// codes outside 1..255).
const VirtualKeyInfo* FindVirtualKey(int virtual_key);

// The virtual-key code a key symbol stands for, as Windows reports a key press:
// the plain modifier codes 0x10..0x12 for either Shift, Ctrl or Alt; keypad
// keys with NumLock off as the navigation keys they act as. 0 when none.
int VirtualKeyOfKeysym(Keysym keysym);

// The punctuation key (virtual-key codes found by position) at a US key code;
// 0 when the key code holds none.
int PositionalVirtualKeyAt(Keycode keycode);

// The letter or digit key at a US key code; 0 when the key code holds none.
int LetterOrDigitAt(Keycode keycode);

}  // namespace voxmere
