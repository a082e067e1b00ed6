// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_names_x11.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/x11/hot_key_registrar_x11.h"
#include "reading/short_cut.h"
#include "support/test_application.h"
#include "x11_test_env.h"

namespace voxmere {
namespace {

using x11_test::WaitFor;

class X11LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::TestApplication<QGuiApplication>("xcb");
    ASSERT_TRUE(x11_test::SetLayout("us"));
  }
  void TearDown() override { x11_test::SetLayout("us"); }

  // Every key that has a name reads back from its text form as a key of the
  // same name, with the modifiers kept.
  static void ExpectTextFormsReadBack(const KeyNames& names) {
    int named = 0;
    for (int key = 1; key <= 255; ++key) {
      const ShortCut code = static_cast<ShortCut>(kScShift | kScCtrl | key);
      const QString text = ShortCutToText(code, names);
      if (text.isEmpty()) continue;
      ++named;
      EXPECT_EQ(ShortCutToText(TextToShortCut(text, names), names), text)
          << "key 0x" << std::hex << key << " \"" << text.toStdString() << "\"";
    }
    EXPECT_GT(named, 100);
  }
};

TEST_F(X11LayoutTest, UsLayoutNamesKeysAsAUserExpects) {
  X11KeyNames names;
  const std::pair<int, const char*> expected[] = {
      {0x10, "Shift"},     {0x11, "Ctrl"},     {0x12, "Alt"},         {0x13, "Pause"},
      {0x14, "Caps Lock"}, {0x6A, "Num *"},    {0x6B, "Num +"},       {0x6D, "Num -"},
      {0x6F, "Num /"},     {0x90, "Num Lock"}, {0xA1, "Right Shift"}, {0xA3, "Right Ctrl"},
      {0xBA, ";"},         {0xBB, "="},        {0xBC, ","},           {0xBD, "-"},
      {0xBE, "."},         {0xBF, "/"},        {0xC0, "`"},           {0xDB, "["},
      {0xDC, "\\"},        {0xDD, "]"},        {0xDE, "'"},           {0x0C, "Num 5"},
  };
  for (const auto& [key, name] : expected) {
    EXPECT_EQ(names.KeyName(key), QString::fromUtf8(name)) << "key 0x" << std::hex << key;
  }
  // Codes without a key on this keyboard.
  EXPECT_EQ(names.KeyName(0x07), QString());
  EXPECT_EQ(names.KeyName(0xDF), QString());
  EXPECT_EQ(names.KeyName(0x100), QString());
  ExpectTextFormsReadBack(names);
}

TEST_F(X11LayoutTest, GermanLayoutNamesPunctuationKeysByItsCharactersAndFollowsTheSwitch) {
  X11KeyNames names;
  ASSERT_EQ(names.KeyName(0xBA), ";");
  ASSERT_TRUE(x11_test::SetLayout("de"));
  // The names follow the server's announcement of the new keyboard.
  EXPECT_TRUE(WaitFor([&] { return names.KeyName(0xBA) == QString::fromUtf8("Ö"); }))
      << names.KeyName(0xBA).toStdString();
  EXPECT_EQ(names.KeyName(0xDE), QString::fromUtf8("Ä"));
  EXPECT_EQ(names.KeyName(0xDB), QString::fromUtf8("Ü"));
  EXPECT_EQ(names.KeyName(0xBD), QString::fromUtf8("ß"));
  EXPECT_EQ(names.KeyName(0xDD), "+");
  EXPECT_EQ(names.KeyName(0xBF), "-");
  EXPECT_EQ(names.KeyName(0xE2), "<");
  // Dead keys by their accents; "^" would read back as the Ctrl prefix.
  EXPECT_EQ(names.KeyName(0xC0), "Circumflex");
  EXPECT_EQ(names.KeyName(0xBB), "Acute");
  EXPECT_EQ(names.KeyName(0x11), "Ctrl");
  ExpectTextFormsReadBack(names);

  ASSERT_TRUE(x11_test::SetLayout("us"));
  EXPECT_TRUE(WaitFor([&] { return names.KeyName(0xBA) == ";"; }));
}

TEST_F(X11LayoutTest, HotKeysFollowTheLayoutInForceWhenRegistered) {
  ASSERT_TRUE(x11_test::SetLayout("de"));
  X11HotKeyRegistrar registrar;
  std::vector<int> presses;
  registrar.SetPressHandler([&](int identifier) { presses.push_back(identifier); });
  // The key at the US semicolon's place, "Ö" here; Z by its letter, which a
  // German keyboard has where a US one has Y.
  ASSERT_TRUE(registrar.RegisterHotKey(1, HotKeyRegistrar::kModControl, 0xBA));
  ASSERT_TRUE(registrar.RegisterHotKey(2, HotKeyRegistrar::kModControl, 0x5A));
  ASSERT_TRUE(x11_test::XdoKey("ctrl+odiaeresis"));
  EXPECT_TRUE(WaitFor([&] { return presses == std::vector<int>{1}; }));
  ASSERT_TRUE(x11_test::XdoKey("ctrl+z"));
  EXPECT_TRUE(WaitFor([&] { return presses == std::vector<int>{1, 2}; }));
}

}  // namespace
}  // namespace voxmere
