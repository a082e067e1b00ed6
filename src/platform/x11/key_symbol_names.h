// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/x11/virtual_key_table.h"

namespace voxmere {

// The character a key symbol types, or 0 when it types none (function keys,
// modifiers, dead keys, symbols of scripts this table does not cover).
char32_t KeysymToUnicode(Keysym keysym);

// The name a user expects for a key that shows this symbol, in the manner of
// the Windows key names: "Num *", "Caps Lock", "Right Ctrl", a character key
// by its (capital) character. Never a text the hot key parser would take for
// a modifier prefix ("^" is "Circumflex"). Empty only for NoSymbol.
QString KeysymDisplayName(Keysym keysym);

}  // namespace voxmere
