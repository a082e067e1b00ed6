// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/short_cut.h"

#include <gtest/gtest.h>

#include "fakes/fake_key_names.h"

namespace voxmere {
namespace {

TEST(ShortCutTest, BuildsCodesFromKeyAndShiftState) {
  EXPECT_EQ(MakeShortCut(0x41, 0), 0x41);
  EXPECT_EQ(MakeShortCut(0x41, kShiftKey | kCtrlKey | kAltKey), 0xE041);
  EXPECT_EQ(MakeShortCut(0x7A, kCtrlKey), 16506);
  EXPECT_EQ(MakeShortCut(0x2D, kAltKey), 32813);
  EXPECT_EQ(MakeShortCut(255, kShiftKey), 0x20FF);
  // No virtual-key code: no hot key, whatever is held.
  EXPECT_EQ(MakeShortCut(256, kCtrlKey), 0);
  EXPECT_EQ(MakeShortCut(-1, kCtrlKey), 0);
}

TEST(ShortCutTest, FormatsFixedAndLayoutNames) {
  FakeKeyNames names;
  EXPECT_EQ(ShortCutToText(32813, names), "Alt+Ins");
  EXPECT_EQ(ShortCutToText(16392, names), "Ctrl+BkSp");
  EXPECT_EQ(ShortCutToText(16506, names), "Ctrl+F11");
  EXPECT_EQ(ShortCutToText(0xE041, names), "Shift+Ctrl+Alt+A");
  EXPECT_EQ(ShortCutToText(0x70, names), "F1");
  EXPECT_EQ(ShortCutToText(0x87, names), "F24");
  EXPECT_EQ(ShortCutToText(0x30, names), "0");
  EXPECT_EQ(ShortCutToText(0x5A, names), "Z");
  EXPECT_EQ(ShortCutToText(0x60, names), "0");
  EXPECT_EQ(ShortCutToText(0x4065, names), "Ctrl+5");
  EXPECT_EQ(ShortCutToText(0x21, names), "PgUp");
  EXPECT_EQ(ShortCutToText(0x2E, names), "Del");
  EXPECT_EQ(ShortCutToText(0xA06A, names), "Shift+Alt+Num *");
  EXPECT_EQ(ShortCutToText(0x11, names), "Ctrl");
  // The unused bits 8..12 do not change the key.
  EXPECT_EQ(ShortCutToText(0x0141, names), "A");
  // A key without a name gives no text at all, not a bare "Ctrl+".
  EXPECT_EQ(ShortCutToText(0, names), "");
  EXPECT_EQ(ShortCutToText(0x4007, names), "");
  EXPECT_EQ(ShortCutToText(0xE0FF, names), "");

  // The layout is asked only outside the fixed table.
  names.ResetCalls();
  EXPECT_EQ(KeyCodeName(0x0D, names), "Enter");
  EXPECT_EQ(KeyCodeName(0x69, names), "9");
  EXPECT_EQ(KeyCodeName(300, names), "");
  EXPECT_EQ(KeyCodeName(-5, names), "");
  EXPECT_EQ(names.calls(), 0);
  EXPECT_EQ(KeyCodeName(0xBA, names), ";");
  EXPECT_EQ(names.calls(), 1);
}

TEST(ShortCutTest, ParsesPrefixesInAnyOrderAndCase) {
  FakeKeyNames names;
  EXPECT_EQ(TextToShortCut("alt+ins", names), 32813);
  EXPECT_EQ(TextToShortCut("^F12", names), 16507);
  EXPECT_EQ(TextToShortCut("Ctrl+BkSp", names), 16392);
  EXPECT_EQ(TextToShortCut("ALT+ctrl+shift+a", names), 0xE041);
  EXPECT_EQ(TextToShortCut("Alt+Alt+^Ctrl+x", names), 0xC058);
  EXPECT_EQ(TextToShortCut("^^f1", names), 0x4070);
  EXPECT_EQ(TextToShortCut("shift+num *", names), 0x206A);
  // "Shift" without "+" is the name of the Shift key, and the first code of a
  // repeated name wins (0x10 rather than 0xA0).
  EXPECT_EQ(TextToShortCut("Shift", names), 0x10);
  EXPECT_EQ(TextToShortCut("Shift+Ctrl", names), 0x2011);
  // Top-row digits come before the keypad digits of the same name.
  EXPECT_EQ(TextToShortCut("Ctrl+5", names), 16437);
}

TEST(ShortCutTest, ParsingNeverFails) {
  FakeKeyNames names;
  EXPECT_EQ(TextToShortCut("", names), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+", names), 0);
  EXPECT_EQ(TextToShortCut("^", names), 0);
  EXPECT_EQ(TextToShortCut("Shift+Alt+^", names), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+Nothing", names), 0);
  EXPECT_EQ(TextToShortCut(" Ctrl+A", names), 0);
  EXPECT_EQ(TextToShortCut("Ctrl + A", names), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+A+", names), 0);
  EXPECT_EQ(TextToShortCut("F25", names), 0);
  EXPECT_EQ(TextToShortCut("Win+A", names), 0);
}

TEST(ShortCutTest, NormalisesStoredCodes) {
  FakeKeyNames names;
  EXPECT_EQ(NormaliseShortCut(16485, names), 16437);  // Ctrl + keypad 5
  EXPECT_EQ(ShortCutToText(NormaliseShortCut(16485, names), names), "Ctrl+5");
  EXPECT_EQ(NormaliseShortCut(32813, names), 32813);
  EXPECT_EQ(NormaliseShortCut(0x0141, names), 0x41);    // unused bits dropped
  EXPECT_EQ(NormaliseShortCut(0xA0A0, names), 0xA010);  // left Shift names like Shift
  EXPECT_EQ(NormaliseShortCut(0, names), 0);
  EXPECT_EQ(NormaliseShortCut(0x4007, names), 0);
}

TEST(ShortCutTest, FollowsTheLayoutsNamesInCodeOrder) {
  FakeKeyNames names;
  // A layout name that repeats a fixed name on an earlier code takes the text.
  names.SetName(0x0C, "Enter");
  EXPECT_EQ(TextToShortCut("ctrl+enter", names), 0x400C);
  // A key named like a prefix can be shown but never parsed back.
  names.SetName(0xDE, "^");
  EXPECT_EQ(ShortCutToText(0xDE, names), "^");
  EXPECT_EQ(TextToShortCut("^", names), 0);
  EXPECT_EQ(NormaliseShortCut(0xDE, names), 0);
  // A name only a code below 8 carries is found among the repeats 256..263,
  // as the Windows program's search over 8..597 finds it.
  names.SetName(0x03, "Break");
  EXPECT_EQ(TextToShortCut("Alt+Break", names), 0x8103);
  EXPECT_EQ(ShortCutToText(0x8103, names), "Alt+Break");
  // But a code from 8 up wins over it.
  names.SetName(0x13, "Break");
  EXPECT_EQ(TextToShortCut("Break", names), 0x13);
  // Code 0 means no hot key: it stays nameless even if the layout names it.
  names.SetName(0x00, "Zero");
  EXPECT_EQ(ShortCutToText(0, names), "");
  EXPECT_EQ(TextToShortCut("Zero", names), 0);
  // Non-ASCII names compare without regard to case too.
  names.SetName(0xDB, QStringLiteral("\u00DC"));
  EXPECT_EQ(TextToShortCut(QStringLiteral("ctrl+\u00FC"), names), 0x40DB);
}

TEST(ShortCutTest, ParsingAsksTheLayoutAtMostOncePerKey) {
  FakeKeyNames names;
  names.ResetCalls();
  EXPECT_EQ(TextToShortCut("Ctrl+Nothing", names), 0);
  const int miss_calls = names.calls();
  EXPECT_GT(miss_calls, 0);
  EXPECT_LE(miss_calls, 256);
  names.ResetCalls();
  EXPECT_EQ(TextToShortCut("Ctrl+", names), 0);
  EXPECT_EQ(names.calls(), 0);
}

}  // namespace
}  // namespace voxmere
