// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/virtual_key_table.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <unordered_map>
#include <vector>

namespace voxmere {
namespace {

using L = KeyLookup;

// Windows virtual-key codes and their X keys. Codes with no X key (mouse
// buttons, IME process keys, OEM keys a US keyboard lacks, ...) are missing.
// The plain modifier codes come before their left/right codes, so that a
// symbol maps back to the plain code, as Windows reports a modifier press.
const std::vector<VirtualKeyInfo>& Table() {
  static const std::vector<VirtualKeyInfo> table = [] {
    std::vector<VirtualKeyInfo> rows = {
        {0x08, {XK_BackSpace}, 22, L::kBySymbol},
        {0x09, {XK_Tab}, 23, L::kBySymbol},
        {0x0C, {XK_KP_Begin, XK_Clear}, 84, L::kBySymbol},
        {0x0D, {XK_Return, XK_KP_Enter}, 36, L::kBySymbol},
        {0x10, {XK_Shift_L, XK_Shift_R}, 50, L::kBySymbol},
        {0x11, {XK_Control_L, XK_Control_R}, 37, L::kBySymbol},
        {0x12, {XK_Alt_L, XK_Alt_R}, 64, L::kBySymbol},
        {0x13, {XK_Pause}, 127, L::kBySymbol},
        {0x14, {XK_Caps_Lock}, 66, L::kBySymbol},
        {0x15, {XK_Hangul, XK_Kana_Lock}, 0, L::kBySymbol},
        {0x19, {XK_Hangul_Hanja, XK_Kanji}, 0, L::kBySymbol},
        {0x1B, {XK_Escape}, 9, L::kBySymbol},
        {0x1C, {XK_Henkan_Mode}, 0, L::kBySymbol},
        {0x1D, {XK_Muhenkan}, 0, L::kBySymbol},
        {0x20, {XK_space}, 65, L::kBySymbol},
        {0x21, {XK_Prior}, 112, L::kBySymbol},
        {0x22, {XK_Next}, 117, L::kBySymbol},
        {0x23, {XK_End}, 115, L::kBySymbol},
        {0x24, {XK_Home}, 110, L::kBySymbol},
        {0x25, {XK_Left}, 113, L::kBySymbol},
        {0x26, {XK_Up}, 111, L::kBySymbol},
        {0x27, {XK_Right}, 114, L::kBySymbol},
        {0x28, {XK_Down}, 116, L::kBySymbol},
        {0x29, {XK_Select}, 0, L::kBySymbol},
        {0x2B, {XK_Execute}, 0, L::kBySymbol},
        {0x2C, {XK_Print, XK_Sys_Req}, 107, L::kBySymbol},
        {0x2D, {XK_Insert}, 118, L::kBySymbol},
        {0x2E, {XK_Delete}, 119, L::kBySymbol},
        {0x2F, {XK_Help}, 0, L::kBySymbol},
        {0x5B, {XK_Super_L}, 133, L::kBySymbol},
        {0x5C, {XK_Super_R}, 134, L::kBySymbol},
        {0x5D, {XK_Menu}, 135, L::kBySymbol},
        {0x5F, {XF86XK_Sleep}, 0, L::kBySymbol},
        {0x6A, {XK_KP_Multiply}, 63, L::kBySymbol},
        {0x6B, {XK_KP_Add}, 86, L::kBySymbol},
        {0x6C, {XK_KP_Separator}, 0, L::kBySymbol},
        {0x6D, {XK_KP_Subtract}, 82, L::kBySymbol},
        {0x6E, {XK_KP_Decimal}, 91, L::kBySymbol},
        {0x6F, {XK_KP_Divide}, 106, L::kBySymbol},
        {0x90, {XK_Num_Lock}, 77, L::kBySymbol},
        {0x91, {XK_Scroll_Lock}, 78, L::kBySymbol},
        {0xA0, {XK_Shift_L}, 50, L::kBySymbol},
        {0xA1, {XK_Shift_R}, 62, L::kBySymbol},
        {0xA2, {XK_Control_L}, 37, L::kBySymbol},
        {0xA3, {XK_Control_R}, 105, L::kBySymbol},
        {0xA4, {XK_Alt_L}, 64, L::kBySymbol},
        // Layouts with AltGr put the third level there instead of Alt_R.
        {0xA5, {XK_Alt_R, XK_ISO_Level3_Shift}, 108, L::kBySymbol},
        {0xA6, {XF86XK_Back}, 0, L::kBySymbol},
        {0xA7, {XF86XK_Forward}, 0, L::kBySymbol},
        {0xA8, {XF86XK_Refresh, XF86XK_Reload}, 0, L::kBySymbol},
        {0xA9, {XF86XK_Stop}, 0, L::kBySymbol},
        {0xAA, {XF86XK_Search}, 0, L::kBySymbol},
        {0xAB, {XF86XK_Favorites}, 0, L::kBySymbol},
        {0xAC, {XF86XK_HomePage}, 0, L::kBySymbol},
        {0xAD, {XF86XK_AudioMute}, 0, L::kBySymbol},
        {0xAE, {XF86XK_AudioLowerVolume}, 0, L::kBySymbol},
        {0xAF, {XF86XK_AudioRaiseVolume}, 0, L::kBySymbol},
        {0xB0, {XF86XK_AudioNext}, 0, L::kBySymbol},
        {0xB1, {XF86XK_AudioPrev}, 0, L::kBySymbol},
        {0xB2, {XF86XK_AudioStop}, 0, L::kBySymbol},
        {0xB3, {XF86XK_AudioPlay, XF86XK_AudioPause}, 0, L::kBySymbol},
        {0xB4, {XF86XK_Mail}, 0, L::kBySymbol},
        {0xB5, {XF86XK_AudioMedia}, 0, L::kBySymbol},
        {0xB6, {XF86XK_MyComputer, XF86XK_Explorer}, 0, L::kBySymbol},
        {0xB7, {XF86XK_Calculator}, 0, L::kBySymbol},
        // The punctuation keys by their place on a US keyboard.
        {0xBA, {XK_semicolon}, 47, L::kByPosition},
        {0xBB, {XK_equal}, 21, L::kByPosition},
        {0xBC, {XK_comma}, 59, L::kByPosition},
        {0xBD, {XK_minus}, 20, L::kByPosition},
        {0xBE, {XK_period}, 60, L::kByPosition},
        {0xBF, {XK_slash}, 61, L::kByPosition},
        {0xC0, {XK_grave}, 49, L::kByPosition},
        {0xDB, {XK_bracketleft}, 34, L::kByPosition},
        {0xDC, {XK_backslash}, 51, L::kByPosition},
        {0xDD, {XK_bracketright}, 35, L::kByPosition},
        {0xDE, {XK_apostrophe}, 48, L::kByPosition},
        // The extra key of 102-key keyboards, between left Shift and Z.
        {0xE2, {XK_less}, 94, L::kByPosition},
    };
    // Digits: 1..9 then 0 along the top row.
    for (int digit = 0; digit <= 9; ++digit) {
      const Keycode keycode = static_cast<Keycode>(digit == 0 ? 19 : 9 + digit);
      rows.push_back(
          {0x30 + digit, {static_cast<Keysym>(XK_0 + digit)}, keycode, L::kBySymbolThenPosition});
    }
    // Letters by their US rows.
    static constexpr struct {
      const char* letters;
      Keycode first;
    } kRows[] = {{"qwertyuiop", 24}, {"asdfghjkl", 38}, {"zxcvbnm", 52}};
    for (const auto& row : kRows) {
      for (int i = 0; row.letters[i] != '\0'; ++i) {
        const char letter = row.letters[i];
        rows.push_back({letter - 'a' + 'A',
                        {static_cast<Keysym>(XK_a + (letter - 'a'))},
                        static_cast<Keycode>(row.first + i),
                        L::kBySymbolThenPosition});
      }
    }
    for (int digit = 0; digit <= 9; ++digit) {
      static constexpr Keycode kKeypad[] = {90, 87, 88, 89, 83, 84, 85, 79, 80, 81};
      rows.push_back(
          {0x60 + digit, {static_cast<Keysym>(XK_KP_0 + digit)}, kKeypad[digit], L::kBySymbol});
    }
    for (int number = 1; number <= 24; ++number) {
      // F1..F10 sit together, F11 and F12 apart, F13..F24 on extended keyboards.
      Keycode keycode = 0;
      if (number <= 10) keycode = static_cast<Keycode>(66 + number);
      if (number == 11 || number == 12) keycode = static_cast<Keycode>(84 + number);
      if (number >= 13) keycode = static_cast<Keycode>(178 + number);
      rows.push_back(
          {0x6F + number, {static_cast<Keysym>(XK_F1 + number - 1)}, keycode, L::kBySymbol});
    }
    return rows;
  }();
  return table;
}

struct Indexes {
  std::array<const VirtualKeyInfo*, 256> by_code{};
  std::unordered_map<Keysym, int> by_keysym;
  std::array<int, 256> positional_at{};
  std::array<int, 256> letter_or_digit_at{};
};

const Indexes& Index() {
  static const Indexes indexes = [] {
    Indexes index;
    for (const VirtualKeyInfo& info : Table()) {
      index.by_code[info.virtual_key] = &info;
      for (Keysym keysym : info.keysyms) {
        if (keysym != 0) index.by_keysym.emplace(keysym, info.virtual_key);  // first row wins
      }
      if (info.lookup == KeyLookup::kByPosition)
        index.positional_at[info.us_keycode] = info.virtual_key;
      if (info.lookup == KeyLookup::kBySymbolThenPosition) {
        index.letter_or_digit_at[info.us_keycode] = info.virtual_key;
      }
    }
    for (int letter = 0; letter < 26; ++letter)
      index.by_keysym.emplace(XK_A + letter, 'A' + letter);
    // Shift+Tab gives its own symbol.
    index.by_keysym.emplace(XK_ISO_Left_Tab, 0x09);
    // With NumLock off the keypad keys act as the navigation keys, and Windows
    // reports them as those.
    static constexpr std::pair<Keysym, int> kKeypadNavigation[] = {
        {XK_KP_Insert, 0x2D}, {XK_KP_End, 0x23},   {XK_KP_Down, 0x28}, {XK_KP_Next, 0x22},
        {XK_KP_Left, 0x25},   {XK_KP_Right, 0x27}, {XK_KP_Home, 0x24}, {XK_KP_Up, 0x26},
        {XK_KP_Prior, 0x21},  {XK_KP_Delete, 0x2E}};
    for (const auto& [keysym, virtual_key] : kKeypadNavigation) {
      index.by_keysym.emplace(keysym, virtual_key);
    }
    return index;
  }();
  return indexes;
}

}  // namespace

const VirtualKeyInfo* FindVirtualKey(int virtual_key) {
  if (virtual_key <= 0 || virtual_key > 255) return nullptr;
  return Index().by_code[virtual_key];
}

int VirtualKeyOfKeysym(Keysym keysym) {
  const auto& by_keysym = Index().by_keysym;
  auto it = by_keysym.find(keysym);
  return it == by_keysym.end() ? 0 : it->second;
}

int PositionalVirtualKeyAt(Keycode keycode) { return Index().positional_at[keycode]; }

int LetterOrDigitAt(Keycode keycode) { return Index().letter_or_digit_at[keycode]; }

}  // namespace voxmere
