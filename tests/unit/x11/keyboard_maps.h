// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/keysym.h>

#include <QString>
#include <initializer_list>
#include <map>
#include <ostream>
#include <vector>

#include "platform/x11/key_map.h"

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace voxmere::test_maps {

// Builds a keyboard mapping as the server reports it: per key code the
// columns (group 1 plain, shifted; group 2 plain, shifted).
class MapBuilder {
 public:
  MapBuilder& Key(Keycode keycode, std::initializer_list<Keysym> columns) {
    keys_[keycode] = columns;
    return *this;
  }
  KeyboardMap Build() const {
    constexpr int kColumns = 4;
    std::vector<Keysym> keysyms((kMax - kMin + 1) * kColumns, 0);
    for (const auto& [keycode, columns] : keys_) {
      int column = 0;
      for (Keysym keysym : columns) keysyms[(keycode - kMin) * kColumns + column++] = keysym;
    }
    return KeyboardMap(kMin, kColumns, std::move(keysyms));
  }

 private:
  static constexpr int kMin = 8;
  static constexpr int kMax = 255;
  std::map<Keycode, std::vector<Keysym>> keys_;
};

// The keys of a US keyboard the tests look at, as Xorg maps them.
inline MapBuilder UsKeys() {
  MapBuilder map;
  map.Key(9, {XK_Escape})
      .Key(10, {XK_1, XK_exclam})
      .Key(19, {XK_0, XK_parenright})
      .Key(20, {XK_minus, XK_underscore})
      .Key(21, {XK_equal, XK_plus})
      .Key(22, {XK_BackSpace})
      .Key(23, {XK_Tab, XK_ISO_Left_Tab})
      .Key(24, {XK_q, XK_Q})
      .Key(29, {XK_y, XK_Y})
      .Key(34, {XK_bracketleft, XK_braceleft})
      .Key(35, {XK_bracketright, XK_braceright})
      .Key(36, {XK_Return})
      .Key(37, {XK_Control_L})
      .Key(38, {XK_a, XK_A})
      .Key(47, {XK_semicolon, XK_colon})
      .Key(48, {XK_apostrophe, XK_quotedbl})
      .Key(49, {XK_grave, XK_asciitilde})
      .Key(50, {XK_Shift_L})
      .Key(51, {XK_backslash, XK_bar})
      .Key(52, {XK_z, XK_Z})
      .Key(59, {XK_comma, XK_less})
      .Key(60, {XK_period, XK_greater})
      .Key(61, {XK_slash, XK_question})
      .Key(62, {XK_Shift_R})
      .Key(63, {XK_KP_Multiply})
      .Key(64, {XK_Alt_L, XK_Meta_L})
      .Key(66, {XK_Caps_Lock})
      .Key(77, {XK_Num_Lock})
      .Key(84, {XK_KP_Begin, XK_KP_5})
      .Key(90, {XK_KP_Insert, XK_KP_0})
      .Key(91, {XK_KP_Delete, XK_KP_Decimal})
      .Key(95, {XK_F11})
      .Key(104, {XK_KP_Enter})
      .Key(105, {XK_Control_R})
      .Key(108, {XK_Alt_R, XK_Meta_R})
      .Key(118, {XK_Insert})
      .Key(127, {XK_Pause, XK_Break})
      .Key(204, {0, XK_Alt_L});
  return map;
}

// A German keyboard: the same places with other characters, Y and Z
// swapped, dead keys, AltGr in place of right Alt.
inline MapBuilder GermanKeys() {
  MapBuilder map = UsKeys();
  map.Key(20, {XK_ssharp, XK_question})
      .Key(21, {XK_dead_acute, XK_dead_grave})
      .Key(29, {XK_z, XK_Z})
      .Key(34, {XK_udiaeresis, XK_Udiaeresis})
      .Key(35, {XK_plus, XK_asterisk})
      .Key(47, {XK_odiaeresis, XK_Odiaeresis})
      .Key(48, {XK_adiaeresis, XK_Adiaeresis})
      .Key(49, {XK_dead_circumflex, XK_degree})
      .Key(51, {XK_numbersign, XK_apostrophe})
      .Key(52, {XK_y, XK_Y})
      .Key(59, {XK_comma, XK_semicolon})
      .Key(61, {XK_minus, XK_underscore})
      .Key(94, {XK_less, XK_greater})
      .Key(108, {XK_ISO_Level3_Shift});
  return map;
}

}  // namespace voxmere::test_maps
