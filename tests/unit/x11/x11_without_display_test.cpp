// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/x11/hot_key_registrar_x11.h"
#include "platform/x11/key_names_x11.h"
#include "support/test_application.h"

namespace voxmere {
namespace {

// A window system without X (as under the offscreen platform): hot keys are
// refused and key names come from a US keyboard, without a crash.
class WithoutDisplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test_support::TestApplication<QGuiApplication>("offscreen"); }
};

TEST_F(WithoutDisplay, HotKeysAreRefused) {
  X11HotKeyRegistrar registrar;
  EXPECT_FALSE(registrar.Available());
  int presses = 0;
  registrar.SetPressHandler([&](int) { ++presses; });
  EXPECT_FALSE(registrar.RegisterHotKey(1, HotKeyRegistrar::kModControl, 0x08));
  EXPECT_FALSE(registrar.RegisterHotKey(2, 0, 0x41));
  registrar.UnregisterHotKey(1);
  registrar.UnregisterHotKey(99);
  QCoreApplication::processEvents();
  EXPECT_EQ(presses, 0);
}

TEST_F(WithoutDisplay, KeyNamesAreAUsKeyboards) {
  X11KeyNames names;
  EXPECT_EQ(names.KeyName(0x11), "Ctrl");
  EXPECT_EQ(names.KeyName(0xBA), ";");
  EXPECT_EQ(names.KeyName(0x6A), "Num *");
  EXPECT_EQ(names.KeyName(0xDF), "");
  EXPECT_EQ(names.KeyName(0), "");
  EXPECT_EQ(names.KeyName(256), "");
  names.Refresh();
  EXPECT_EQ(names.KeyName(0xDE), "'");
}

}  // namespace
}  // namespace voxmere
