// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_event_conversion_x11.h"

#include <X11/keysym.h>

#include "platform/x11/virtual_key_table.h"

namespace voxmere {
namespace {

bool IsLatinLetterOrDigit(std::uint32_t keysym) {
  return (keysym >= XK_a && keysym <= XK_z) || (keysym >= XK_A && keysym <= XK_Z) ||
         (keysym >= XK_0 && keysym <= XK_9);
}

// Qt's key codes for events without native data.
int VirtualKeyOfQtKey(int key, bool keypad) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return (keypad ? 0x60 : 0x30) + (key - Qt::Key_0);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 0x41 + (key - Qt::Key_A);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  if (keypad) {
    switch (key) {
      case Qt::Key_Asterisk:
        return 0x6A;
      case Qt::Key_Plus:
        return 0x6B;
      case Qt::Key_Minus:
        return 0x6D;
      case Qt::Key_Period:
        return 0x6E;
      case Qt::Key_Slash:
        return 0x6F;
      default:
        break;
    }
  }
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;
    case Qt::Key_Clear:
      return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Shift:
      return 0x10;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Pause:
      return 0x13;
    case Qt::Key_CapsLock:
      return 0x14;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Print:
      return 0x2C;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    case Qt::Key_Meta:
      return 0x5B;
    case Qt::Key_Menu:
      return 0x5D;
    case Qt::Key_NumLock:
      return 0x90;
    case Qt::Key_ScrollLock:
      return 0x91;
    case Qt::Key_Semicolon:
      return 0xBA;
    case Qt::Key_Equal:
      return 0xBB;
    case Qt::Key_Comma:
      return 0xBC;
    case Qt::Key_Minus:
      return 0xBD;
    case Qt::Key_Period:
      return 0xBE;
    case Qt::Key_Slash:
      return 0xBF;
    case Qt::Key_QuoteLeft:
      return 0xC0;
    case Qt::Key_BracketLeft:
      return 0xDB;
    case Qt::Key_Backslash:
      return 0xDC;
    case Qt::Key_BracketRight:
      return 0xDD;
    case Qt::Key_Apostrophe:
      return 0xDE;
    default:
      return 0;
  }
}

}  // namespace

VirtualKeyPress VirtualKeyOfKey(int qt_key, Qt::KeyboardModifiers modifiers,
                                std::uint32_t native_scan_code, std::uint32_t native_keysym) {
  VirtualKeyPress press;
  if (modifiers & Qt::ShiftModifier) press.shift |= VirtualKeyPress::kShift;
  if (modifiers & Qt::ControlModifier) press.shift |= VirtualKeyPress::kCtrl;
  if (modifiers & Qt::AltModifier) press.shift |= VirtualKeyPress::kAlt;

  const Keycode keycode = native_scan_code <= 255 ? static_cast<Keycode>(native_scan_code) : 0;
  if (native_keysym != 0 && IsLatinLetterOrDigit(native_keysym)) {
    press.virtual_key = VirtualKeyOfKeysym(native_keysym);
  } else if (int positional = PositionalVirtualKeyAt(keycode); keycode != 0 && positional != 0) {
    press.virtual_key = positional;
  } else if (int by_symbol = VirtualKeyOfKeysym(native_keysym); native_keysym != 0 && by_symbol) {
    press.virtual_key = by_symbol;
  } else if (int letter = LetterOrDigitAt(keycode); keycode != 0 && letter != 0) {
    press.virtual_key = letter;
  } else if (native_keysym == 0 && native_scan_code == 0) {
    press.virtual_key = VirtualKeyOfQtKey(qt_key, modifiers & Qt::KeypadModifier);
  }
  return press;
}

VirtualKeyPress X11KeyEventConversion::VirtualKeyOf(const PressedKey& key) const {
  return VirtualKeyOfKey(key.qt_key, key.modifiers, key.native_scan_code, key.native_virtual_key);
}

}  // namespace voxmere
