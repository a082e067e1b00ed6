// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "platform/x11/virtual_key_table.h"

struct xcb_connection_t;

namespace voxmere {

// A snapshot of the X keyboard mapping: the symbols of every key code, in the
// core protocol's columns (0 and 1 are the first group's plain and shifted
// levels). Plain data, so the lookups can be tried on made-up keyboards.
class KeyboardMap {
 public:
  KeyboardMap() = default;  // a keyboard without keys
  KeyboardMap(Keycode min_keycode, int keysyms_per_keycode, std::vector<Keysym> keysyms);

  bool Empty() const { return keysyms_.empty(); }
  Keysym KeysymAt(Keycode keycode, int column) const;
  // The key code carries any symbol at all.
  bool HasKey(Keycode keycode) const;
  // The symbol the key shows: its first-group plain symbol, else its first
  // symbol in any column; 0 when it has none.
  Keysym ShownKeysym(Keycode keycode) const;

  // The keys that make a symbol: those of the first group (plain level before
  // shifted level, each in key code order); only when none there, those that
  // make it in another group. Without that rule a second layout would put
  // another key under the same hot key.
  std::vector<Keycode> KeycodesOf(Keysym keysym) const;

  // The keys of a Windows virtual-key code on this keyboard (see KeyLookup);
  // empty when it has none.
  std::vector<Keycode> KeycodesOfVirtualKey(int virtual_key) const;

 private:
  Keycode min_keycode_ = 0;
  int per_keycode_ = 0;
  std::vector<Keysym> keysyms_;
};

// The modifier bit (1 << index) of the first of the eight modifiers that
// holds a key of the symbol; 0 when none does. `modifier_keycodes` is the
// core modifier mapping: eight rows of `keycodes_per_modifier` key codes.
std::uint16_t ModifierMaskOf(const KeyboardMap& map, Keysym keysym,
                             const std::vector<Keycode>& modifier_keycodes,
                             int keycodes_per_modifier);

// The server's current keyboard mapping; empty when it cannot be read.
KeyboardMap FetchKeyboardMap(xcb_connection_t* connection);

// The modifier bit that NumLock sets on this server (usually Mod2); 0 when
// NumLock is no modifier or the mapping cannot be read.
std::uint16_t FetchNumLockMask(xcb_connection_t* connection, const KeyboardMap& map);

}  // namespace voxmere
