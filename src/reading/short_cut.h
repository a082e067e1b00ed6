// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include "platform/key_names.h"

namespace voxmere {

// A hot key as the Windows program stores it: the virtual-key code in the low
// byte plus modifier bits. 0 means no hot key. Files keep it as an unsigned
// decimal number, so these values must never change.
using ShortCut = quint16;

inline constexpr ShortCut kScShift = 0x2000;
inline constexpr ShortCut kScCtrl = 0x4000;
inline constexpr ShortCut kScAlt = 0x8000;
inline constexpr ShortCut kScModifiers = kScShift | kScCtrl | kScAlt;

// The modifiers held while a key is pressed.
enum ShiftFlag : unsigned { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };
using ShiftState = unsigned;

// The code of a key pressed with the given modifiers; 0 when the key code is
// no virtual-key code (above 255, or negative).
ShortCut MakeShortCut(int key, ShiftState shift);

// The name of a virtual-key code: the fixed names ("BkSp", "F11", "A", ...)
// and otherwise the keyboard layout's name. Empty when the key has no name or
// the code is outside 1..255 (0 is never a key).
QString KeyCodeName(int virtual_key, const KeyNames& key_names);

// The text form of a code, e.g. "Shift+Ctrl+Alt+A". The key is named by the
// low byte alone; a key without a name gives an empty text, whatever the
// modifiers.
QString ShortCutToText(ShortCut code, const KeyNames& key_names);

// Parses the text form. "Shift+", "Ctrl+", "^" and "Alt+" prefixes are taken
// in any order and case, repeated or not; the rest must be a key name
// (without regard to case). Anything that is no hot key gives 0.
ShortCut TextToShortCut(const QString& text, const KeyNames& key_names);

// Formats and parses a stored code again, as the program does with every hot
// key it reads from a file: keypad digits become top-row digits, codes that
// name no key become 0.
ShortCut NormaliseShortCut(ShortCut code, const KeyNames& key_names);

}  // namespace voxmere
