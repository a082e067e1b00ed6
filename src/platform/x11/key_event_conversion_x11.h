// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qnamespace.h>

#include <QtGlobal>
#include <cstdint>

#include "platform/key_event_conversion.h"

namespace voxmere {

// The virtual-key code of a key press on X11. The event carries the key's
// symbol (native virtual key) and key code (native scan code); they decide, so
// that the code is the one a hot key on that key registers: a letter or digit
// by its symbol, a punctuation key by its place (as registration finds it),
// other keys by their symbol, letters and digits of non-Latin layouts by
// their place. Without native data (other platforms) Qt's key code decides.
class X11KeyEventConversion : public KeyEventConversion {
 public:
  VirtualKeyPress VirtualKeyOf(const PressedKey& key) const override;
};

// The same from the event's parts.
VirtualKeyPress VirtualKeyOfKey(int qt_key, Qt::KeyboardModifiers modifiers,
                                std::uint32_t native_scan_code, std::uint32_t native_keysym);

}  // namespace voxmere
