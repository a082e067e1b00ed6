// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_map.h"

#include <gtest/gtest.h>

#include "keyboard_maps.h"
#include "platform/x11/key_names_x11.h"

namespace voxmere {
namespace {

using Keys = std::vector<Keycode>;
using test_maps::GermanKeys;
using test_maps::MapBuilder;
using test_maps::UsKeys;

TEST(KeyboardMap, FindsTheKeysOfVirtualKeyCodes) {
  const KeyboardMap us = UsKeys().Build();
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x08), Keys{22});
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x41), Keys{38});
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x31), Keys{10});
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x7A), Keys{95});
  // Keypad 5 is the shifted level of its key; Clear its plain level.
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x65), Keys{84});
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x0C), Keys{84});
  // Every key of a code: both Enter keys, both Ctrl keys, the extra Alt.
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x0D), (Keys{36, 104}));
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x11), (Keys{37, 105}));
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x12), (Keys{64, 204, 108}));
  EXPECT_EQ(us.KeycodesOfVirtualKey(0xA3), Keys{105});
  EXPECT_EQ(us.KeycodesOfVirtualKey(0xBA), Keys{47});
  // Keys this keyboard lacks, and codes X has no key for.
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x7C), Keys{});  // F13
  EXPECT_EQ(us.KeycodesOfVirtualKey(0xE2), Keys{});  // the 102nd key
  EXPECT_EQ(us.KeycodesOfVirtualKey(0x07), Keys{});
  EXPECT_EQ(us.KeycodesOfVirtualKey(0), Keys{});
  EXPECT_EQ(KeyboardMap().KeycodesOfVirtualKey(0x41), Keys{});
}

TEST(KeyboardMap, LettersFollowTheLayoutAndPunctuationThePlace) {
  const KeyboardMap german = GermanKeys().Build();
  EXPECT_EQ(german.KeycodesOfVirtualKey(0x5A), Keys{29});  // Z
  EXPECT_EQ(german.KeycodesOfVirtualKey(0x59), Keys{52});  // Y
  // The semicolon is on the comma key here, but the code stays with its place.
  EXPECT_EQ(german.KeycodesOfVirtualKey(0xBA), Keys{47});
  EXPECT_EQ(german.KeycodesOfVirtualKey(0xBD), Keys{20});
  EXPECT_EQ(german.KeycodesOfVirtualKey(0xE2), Keys{94});
  // Right Alt is AltGr.
  EXPECT_EQ(german.KeycodesOfVirtualKey(0xA5), Keys{108});

  // A layout without Latin letters keeps the letters at their US places.
  MapBuilder russian = UsKeys();
  russian.Key(38, {XK_Cyrillic_ef, XK_Cyrillic_EF}).Key(47, {XK_Cyrillic_zhe, XK_Cyrillic_ZHE});
  const KeyboardMap map = russian.Build();
  EXPECT_EQ(map.KeycodesOfVirtualKey(0x41), Keys{38});
  EXPECT_EQ(map.KeycodesOfVirtualKey(0xBA), Keys{47});
}

TEST(KeyboardMap, SecondGroupCountsOnlyWhenTheFirstLacksTheSymbol) {
  // US with a German second group: z is on key 52 in the first group and on
  // key 29 in the second; only 52 may be grabbed, else Ctrl+Y fires Ctrl+Z.
  MapBuilder two_groups = UsKeys();
  two_groups.Key(29, {XK_y, XK_Y, XK_z, XK_Z})
      .Key(52, {XK_z, XK_Z, XK_y, XK_Y})
      .Key(47, {XK_semicolon, XK_colon, XK_odiaeresis, XK_Odiaeresis});
  const KeyboardMap map = two_groups.Build();
  EXPECT_EQ(map.KeycodesOf(XK_z), Keys{52});
  EXPECT_EQ(map.KeycodesOf(XK_y), Keys{29});
  EXPECT_EQ(map.KeycodesOf(XK_odiaeresis), Keys{47});
  EXPECT_EQ(map.KeycodesOf(XK_Cyrillic_ef), Keys{});
  EXPECT_EQ(map.KeycodesOf(0), Keys{});
}

TEST(KeyboardMap, ReadsSymbolsSafelyAtTheEdges) {
  const KeyboardMap map = UsKeys().Build();
  EXPECT_EQ(map.KeysymAt(38, 0), Keysym{XK_a});
  EXPECT_EQ(map.KeysymAt(38, 1), Keysym{XK_A});
  EXPECT_EQ(map.KeysymAt(38, 4), Keysym{0});
  EXPECT_EQ(map.KeysymAt(38, -1), Keysym{0});
  EXPECT_EQ(map.KeysymAt(7, 0), Keysym{0});  // below the first key code
  EXPECT_EQ(map.ShownKeysym(204), Keysym{XK_Alt_L});
  EXPECT_FALSE(map.HasKey(200));
  // A truncated reply from the server reads as missing keys, not past it.
  const KeyboardMap short_map(8, 4, std::vector<Keysym>(8, XK_a));
  EXPECT_EQ(short_map.KeysymAt(9, 3), Keysym{XK_a});
  EXPECT_EQ(short_map.KeysymAt(10, 0), Keysym{0});
  EXPECT_TRUE(KeyboardMap(8, 0, {XK_a}).Empty());
}

TEST(KeyboardMap, FindsTheModifierOfNumLock) {
  const KeyboardMap map = UsKeys().Build();
  // Eight modifier rows of two key codes: Shift, Lock, Control, Mod1..Mod5.
  std::vector<Keycode> modifiers = {50, 62, 66, 0, 37, 105, 64, 108, 77, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(ModifierMaskOf(map, XK_Num_Lock, modifiers, 2), 0x10);  // Mod2
  EXPECT_EQ(ModifierMaskOf(map, XK_Caps_Lock, modifiers, 2), 0x02);
  modifiers[8] = 0;
  EXPECT_EQ(ModifierMaskOf(map, XK_Num_Lock, modifiers, 2), 0);
  modifiers[15] = 77;  // Mod5
  EXPECT_EQ(ModifierMaskOf(map, XK_Num_Lock, modifiers, 2), 0x80);
  // A short mapping never reads past its end.
  EXPECT_EQ(ModifierMaskOf(map, XK_Num_Lock, {50, 62, 66}, 2), 0);
}

TEST(KeyNameOn, NamesKeysByTheLayoutsSymbols) {
  const KeyboardMap us = UsKeys().Build();
  EXPECT_EQ(KeyNameOn(us, 0xBA), ";");
  EXPECT_EQ(KeyNameOn(us, 0xDC), "\\");
  EXPECT_EQ(KeyNameOn(us, 0x11), "Ctrl");
  EXPECT_EQ(KeyNameOn(us, 0xA3), "Right Ctrl");
  EXPECT_EQ(KeyNameOn(us, 0x12), "Alt");
  EXPECT_EQ(KeyNameOn(us, 0x6A), "Num *");
  EXPECT_EQ(KeyNameOn(us, 0x0C), "Num 5");
  EXPECT_EQ(KeyNameOn(us, 0x6E), "Num Del");
  EXPECT_EQ(KeyNameOn(us, 0x13), "Pause");
  EXPECT_EQ(KeyNameOn(us, 0xE2), "");  // no such key here
  EXPECT_EQ(KeyNameOn(us, 0x07), "");

  const KeyboardMap german = GermanKeys().Build();
  EXPECT_EQ(KeyNameOn(german, 0xBA), QString::fromUtf8("Ö"));
  EXPECT_EQ(KeyNameOn(german, 0xDE), QString::fromUtf8("Ä"));
  EXPECT_EQ(KeyNameOn(german, 0xBD), QString::fromUtf8("ß"));
  EXPECT_EQ(KeyNameOn(german, 0xDD), "+");
  EXPECT_EQ(KeyNameOn(german, 0xDC), "#");
  EXPECT_EQ(KeyNameOn(german, 0xE2), "<");
  EXPECT_EQ(KeyNameOn(german, 0xC0), "Circumflex");
  EXPECT_EQ(KeyNameOn(german, 0xBB), "Acute");
  EXPECT_EQ(KeyNameOn(german, 0xA5), "AltGr");
}

TEST(KeyNameOn, WithoutAKeyboardNamesTheKeysOfAUsOne) {
  const KeyboardMap none;
  const std::pair<int, const char*> expected[] = {
      {0x10, "Shift"},       {0x11, "Ctrl"},        {0x12, "Alt"},   {0x13, "Pause"},
      {0x14, "Caps Lock"},   {0x6A, "Num *"},       {0x6B, "Num +"}, {0x90, "Num Lock"},
      {0xA1, "Right Shift"}, {0xBA, ";"},           {0xBB, "="},     {0xBC, ","},
      {0xBD, "-"},           {0xBE, "."},           {0xBF, "/"},     {0xC0, "`"},
      {0xDB, "["},           {0xDC, "\\"},          {0xDD, "]"},     {0xDE, "'"},
      {0xE2, "<"},           {0xAD, "Volume Mute"},
  };
  for (const auto& [key, name] : expected) {
    EXPECT_EQ(KeyNameOn(none, key), QString::fromUtf8(name)) << std::hex << key;
  }
  EXPECT_EQ(KeyNameOn(none, 0xDF), "");
  EXPECT_EQ(KeyNameOn(none, 0x100), "");
}

}  // namespace
}  // namespace voxmere
