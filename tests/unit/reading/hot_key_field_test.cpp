// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/hot_key_field.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "fakes/fake_key_names.h"

namespace voxmere {
namespace {

class HotKeyFieldTest : public ::testing::Test {
 protected:
  HotKeyFieldTest() {
    QObject::connect(&field_, &HotKeyField::textChanged,
                     [this](const QString& text) { shown_ << text; });
  }

  FakeKeyNames names_;
  HotKeyField field_{names_, "Reading_HotKey"};
  QStringList shown_;  // every text the field asked its view to show
};

TEST_F(HotKeyFieldTest, PastedTextIsFormattedOrCleared) {
  EXPECT_EQ(field_.objectName(), "Reading_HotKey");
  EXPECT_EQ(field_.Hint(), "Press the desired key or combination of keys");
  EXPECT_EQ(field_.Text(), "");

  field_.SetText("ctrl+a");
  EXPECT_EQ(field_.Text(), "Ctrl+A");
  EXPECT_EQ(field_.Shortcut(), 0x4041);
  field_.SetText("^alt+ins");
  EXPECT_EQ(field_.Text(), "Ctrl+Alt+Ins");
  field_.SetText("junk");
  EXPECT_EQ(field_.Text(), "");
  EXPECT_EQ(field_.Shortcut(), 0);
  EXPECT_EQ(shown_, QStringList({"Ctrl+A", "Ctrl+Alt+Ins", ""}));

  // A pasted text that formats to the current one still corrects the view,
  // while setting the text it already has says nothing.
  field_.SetText("Ctrl+A");
  shown_.clear();
  field_.SetText("CTRL+a");
  field_.SetText("Ctrl+A");
  EXPECT_EQ(field_.Text(), "Ctrl+A");
  EXPECT_EQ(shown_, QStringList({"Ctrl+A"}));
}

TEST_F(HotKeyFieldTest, ShortcutIsParsedFromTheText) {
  field_.SetShortcut(32813);
  EXPECT_EQ(field_.Text(), "Alt+Ins");
  EXPECT_EQ(field_.Shortcut(), 32813);
  // Stored keypad digits come back as the top-row digit.
  field_.SetShortcut(16485);
  EXPECT_EQ(field_.Text(), "Ctrl+5");
  EXPECT_EQ(field_.Shortcut(), 16437);
  // A code naming no key leaves the field empty.
  field_.SetShortcut(0x4007);
  EXPECT_EQ(field_.Text(), "");
  EXPECT_EQ(field_.Shortcut(), 0);
  // The value follows the layout at the moment it is read.
  field_.SetShortcut(0x20BA);
  EXPECT_EQ(field_.Text(), "Shift+;");
  names_.SetName(0xBA, "");
  EXPECT_EQ(field_.Shortcut(), 0);
}

TEST_F(HotKeyFieldTest, PressedKeysBecomeTheHotKey) {
  EXPECT_TRUE(field_.KeyPress(0x41, kCtrlKey | kAltKey));
  EXPECT_EQ(field_.Text(), "Ctrl+Alt+A");
  EXPECT_TRUE(field_.KeyPress(0x08, 0));
  EXPECT_EQ(field_.Text(), "BkSp");
  // A modifier alone names itself and is a hot key of its own.
  EXPECT_TRUE(field_.KeyPress(0x11, kCtrlKey));
  EXPECT_EQ(field_.Text(), "Ctrl");
  EXPECT_EQ(field_.Shortcut(), 0x11);
  EXPECT_TRUE(field_.KeyPress(0x12, kAltKey | kShiftKey));
  EXPECT_EQ(field_.Text(), "Shift+Alt");
  EXPECT_TRUE(field_.KeyPress(0x10, kShiftKey | kCtrlKey));
  EXPECT_EQ(field_.Text(), "Ctrl+Shift");
  EXPECT_EQ(field_.Shortcut(), 0x4010);
  // Keypad digits show as the top-row digits.
  EXPECT_TRUE(field_.KeyPress(0x65, kCtrlKey));
  EXPECT_EQ(field_.Shortcut(), 16437);
  // Keys without a name, or without a virtual-key code, empty the field.
  EXPECT_TRUE(field_.KeyPress(0x07, kCtrlKey));
  EXPECT_EQ(field_.Text(), "");
  field_.SetText("F5");
  EXPECT_TRUE(field_.KeyPress(300, 0));
  EXPECT_EQ(field_.Text(), "");
}

TEST_F(HotKeyFieldTest, TypingIsSwallowed) {
  field_.SetText("Ctrl+F11");
  shown_.clear();
  EXPECT_TRUE(field_.CharacterTyped("x"));
  EXPECT_TRUE(field_.CharacterTyped("\b"));
  EXPECT_EQ(field_.Text(), "Ctrl+F11");
  EXPECT_TRUE(shown_.isEmpty());
}

}  // namespace
}  // namespace voxmere
