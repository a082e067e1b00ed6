// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/virtual_key_table.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace voxmere {
namespace {

Keysym FirstKeysym(int virtual_key) {
  const VirtualKeyInfo* info = FindVirtualKey(virtual_key);
  return info == nullptr ? 0 : info->keysyms[0];
}

TEST(VirtualKeyTable, CodesMapToTheirXKeys) {
  EXPECT_EQ(FirstKeysym(0x08), Keysym{XK_BackSpace});
  EXPECT_EQ(FirstKeysym(0x0D), Keysym{XK_Return});
  EXPECT_EQ(FirstKeysym(0x1B), Keysym{XK_Escape});
  EXPECT_EQ(FirstKeysym(0x2D), Keysym{XK_Insert});
  EXPECT_EQ(FirstKeysym(0x30), Keysym{XK_0});
  EXPECT_EQ(FirstKeysym(0x39), Keysym{XK_9});
  EXPECT_EQ(FirstKeysym(0x41), Keysym{XK_a});
  EXPECT_EQ(FirstKeysym(0x5A), Keysym{XK_z});
  EXPECT_EQ(FirstKeysym(0x60), Keysym{XK_KP_0});
  EXPECT_EQ(FirstKeysym(0x65), Keysym{XK_KP_5});
  EXPECT_EQ(FirstKeysym(0x69), Keysym{XK_KP_9});
  EXPECT_EQ(FirstKeysym(0x6A), Keysym{XK_KP_Multiply});
  EXPECT_EQ(FirstKeysym(0x6F), Keysym{XK_KP_Divide});
  EXPECT_EQ(FirstKeysym(0x70), Keysym{XK_F1});
  EXPECT_EQ(FirstKeysym(0x7A), Keysym{XK_F11});
  EXPECT_EQ(FirstKeysym(0x87), Keysym{XK_F24});
  EXPECT_EQ(FirstKeysym(0x13), Keysym{XK_Pause});
  EXPECT_EQ(FirstKeysym(0x14), Keysym{XK_Caps_Lock});
  EXPECT_EQ(FirstKeysym(0x90), Keysym{XK_Num_Lock});
  EXPECT_EQ(FirstKeysym(0x91), Keysym{XK_Scroll_Lock});
  EXPECT_EQ(FirstKeysym(0xA3), Keysym{XK_Control_R});
  EXPECT_EQ(FirstKeysym(0x5D), Keysym{XK_Menu});
  EXPECT_EQ(FirstKeysym(0xAF), Keysym{XF86XK_AudioRaiseVolume});
  // Enter is the main and the keypad key alike, as on Windows.
  const VirtualKeyInfo* enter = FindVirtualKey(0x0D);
  ASSERT_NE(enter, nullptr);
  EXPECT_EQ(enter->keysyms[1], Keysym{XK_KP_Enter});
}

TEST(VirtualKeyTable, PunctuationKeysGoByTheirUsPlace) {
  const std::pair<int, Keycode> expected[] = {
      {0xBA, 47}, {0xBB, 21}, {0xBC, 59}, {0xBD, 20}, {0xBE, 60}, {0xBF, 61},
      {0xC0, 49}, {0xDB, 34}, {0xDC, 51}, {0xDD, 35}, {0xDE, 48}, {0xE2, 94},
  };
  for (const auto& [virtual_key, keycode] : expected) {
    const VirtualKeyInfo* info = FindVirtualKey(virtual_key);
    ASSERT_NE(info, nullptr) << std::hex << virtual_key;
    EXPECT_EQ(info->lookup, KeyLookup::kByPosition) << std::hex << virtual_key;
    EXPECT_EQ(info->us_keycode, keycode) << std::hex << virtual_key;
    EXPECT_EQ(PositionalVirtualKeyAt(keycode), virtual_key);
    EXPECT_EQ(LetterOrDigitAt(keycode), 0);
  }
  // Letters and digits by their US rows, for layouts without them.
  EXPECT_EQ(LetterOrDigitAt(24), 'Q');
  EXPECT_EQ(LetterOrDigitAt(38), 'A');
  EXPECT_EQ(LetterOrDigitAt(58), 'M');
  EXPECT_EQ(LetterOrDigitAt(10), '1');
  EXPECT_EQ(LetterOrDigitAt(19), '0');
  EXPECT_EQ(PositionalVirtualKeyAt(38), 0);
}

TEST(VirtualKeyTable, CodesWithoutAnXKeyAreMissing) {
  for (int code : {-1, 0, 0x01, 0x05, 0x07, 0x0A, 0x0B, 0x3A, 0x40, 0xDF, 0xFF, 0x100, 0x141}) {
    EXPECT_EQ(FindVirtualKey(code), nullptr) << std::hex << code;
  }
}

TEST(VirtualKeyTable, SymbolsMapBackAsWindowsReportsThePress) {
  // Every code's own symbols lead back to it, or for left and right
  // modifiers to the plain modifier code.
  for (int code = 1; code <= 255; ++code) {
    const VirtualKeyInfo* info = FindVirtualKey(code);
    if (info == nullptr) continue;
    EXPECT_EQ(info->virtual_key, code);
    int expected = code;
    if (code == 0xA0 || code == 0xA1) expected = 0x10;
    if (code == 0xA2 || code == 0xA3) expected = 0x11;
    if (code == 0xA4) expected = 0x12;
    if (code == 0xA5) continue;  // Alt_R is the plain Alt's; AltGr is its own
    EXPECT_EQ(VirtualKeyOfKeysym(info->keysyms[0]), expected) << std::hex << code;
    if (info->lookup != KeyLookup::kBySymbol) {
      EXPECT_NE(info->us_keycode, 0) << std::hex << code;
    }
  }
  EXPECT_EQ(VirtualKeyOfKeysym(XK_Alt_R), 0x12);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_ISO_Level3_Shift), 0xA5);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_A), 0x41);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_Z), 0x5A);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_ISO_Left_Tab), 0x09);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_KP_Enter), 0x0D);
  // Keypad keys with NumLock off act as the navigation keys.
  EXPECT_EQ(VirtualKeyOfKeysym(XK_KP_Insert), 0x2D);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_KP_Prior), 0x21);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_KP_Delete), 0x2E);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_KP_Begin), 0x0C);
  EXPECT_EQ(VirtualKeyOfKeysym(XK_Cyrillic_ef), 0);
  EXPECT_EQ(VirtualKeyOfKeysym(0), 0);
}

}  // namespace
}  // namespace voxmere
