// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qnamespace.h>

#include <QtGlobal>
#include <cstdint>

namespace voxmere {

// A key press as the window system reports it to a widget: Qt's key code and
// modifiers, and the native scan code and virtual key (0 when there are none).
struct PressedKey {
  int qt_key = 0;
  Qt::KeyboardModifiers modifiers;
  std::uint32_t native_scan_code = 0;
  std::uint32_t native_virtual_key = 0;

  bool operator==(const PressedKey&) const = default;
};

// A key press as the Windows program saw it in its hot key field: the
// virtual-key code and the modifiers held, with the same bits as the reading
// code's shift state (Shift 1, Ctrl 2, Alt 4).
struct VirtualKeyPress {
  static constexpr unsigned kShift = 1;
  static constexpr unsigned kCtrl = 2;
  static constexpr unsigned kAlt = 4;

  int virtual_key = 0;  // 0 when the key has no virtual-key code
  unsigned shift = 0;

  bool operator==(const VirtualKeyPress&) const = default;
};

// The hot key field's view of a key press. Which virtual-key code a key has
// depends on the window system's key data: the code must be the one a hot key
// on that key registers.
class KeyEventConversion {
 public:
  virtual ~KeyEventConversion() = default;

  virtual VirtualKeyPress VirtualKeyOf(const PressedKey& key) const = 0;
};

}  // namespace voxmere
