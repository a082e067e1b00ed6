#pragma once

#include <qnamespace.h>
#include <QtGlobal>
#include <cstdint>

class QKeyEvent;

namespace voxmere {

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

// The virtual-key code of a key event. On X11 the event carries the key's
// symbol (nativeVirtualKey) and key code (nativeScanCode); they decide, so
// that the code is the one a hot key on that key registers: a letter or digit
// by its symbol, a punctuation key by its place (as registration finds it),
// other keys by their symbol, letters and digits of non-Latin layouts by
// their place. Without native data (other platforms) Qt's key code decides.
VirtualKeyPress VirtualKeyOfKeyEvent(const QKeyEvent& event);

// The same from the event's parts.
VirtualKeyPress VirtualKeyOfKey(int qt_key, Qt::KeyboardModifiers modifiers,
                                std::uint32_t native_scan_code, std::uint32_t native_keysym);

}  // namespace voxmere
