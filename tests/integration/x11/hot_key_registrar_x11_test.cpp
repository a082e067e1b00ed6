// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/hot_key_registrar_x11.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <vector>

#include "support/test_application.h"
#include "x11_test_env.h"

namespace voxmere {
namespace {

using x11_test::OtherClient;
using x11_test::WaitFor;
using x11_test::XdoKey;

constexpr unsigned kAlt = HotKeyRegistrar::kModAlt;
constexpr unsigned kCtrl = HotKeyRegistrar::kModControl;
constexpr unsigned kShift = HotKeyRegistrar::kModShift;

class X11HotKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::TestApplication<QGuiApplication>("xcb");
    ASSERT_TRUE(x11_test::SetLocks(false, false));
    registrar_ = std::make_unique<X11HotKeyRegistrar>();
    ASSERT_TRUE(registrar_->Available());
    registrar_->SetPressHandler([this](int identifier) { presses_.push_back(identifier); });
  }
  void TearDown() override {
    registrar_.reset();
    x11_test::SetLocks(false, false);
  }

  // Presses the keys and waits until the press handler has heard of the
  // identifier; false when it never does.
  bool PressReaches(const QString& keys, int identifier) {
    presses_.clear();
    if (!XdoKey(keys)) return false;
    return WaitFor([&] { return !presses_.empty(); }) && presses_ == std::vector<int>{identifier};
  }

  // Presses keys that must reach no hot key: a registered sentinel pressed
  // afterwards arrives alone, proving the first press has been handled.
  bool PressIsIgnored(const QString& keys, const QString& sentinel_keys, int sentinel) {
    presses_.clear();
    if (!XdoKey(keys) || !XdoKey(sentinel_keys)) return false;
    return WaitFor([&] { return !presses_.empty(); }) && presses_ == std::vector<int>{sentinel};
  }

  std::unique_ptr<X11HotKeyRegistrar> registrar_;
  std::vector<int> presses_;
};

TEST_F(X11HotKeyTest, EachCombinationReachesItsHandlerInEveryLockState) {
  ASSERT_TRUE(registrar_->RegisterHotKey(10, kCtrl, 0x08));           // Ctrl+BkSp
  ASSERT_TRUE(registrar_->RegisterHotKey(11, kCtrl, 0x7A));           // Ctrl+F11
  ASSERT_TRUE(registrar_->RegisterHotKey(12, kAlt, 0x2D));            // Alt+Ins
  ASSERT_TRUE(registrar_->RegisterHotKey(13, kCtrl | kAlt, 0x41));    // Ctrl+Alt+A
  ASSERT_TRUE(registrar_->RegisterHotKey(14, kCtrl, 0x65));           // Ctrl+Num 5
  ASSERT_TRUE(registrar_->RegisterHotKey(15, kShift | kCtrl, 0xBA));  // Shift+Ctrl+;

  for (const bool caps : {false, true}) {
    for (const bool num : {false, true}) {
      SCOPED_TRACE(testing::Message() << "CapsLock " << caps << ", NumLock " << num);
      ASSERT_TRUE(x11_test::SetLocks(caps, num));
      EXPECT_TRUE(PressReaches("ctrl+BackSpace", 10));
      EXPECT_TRUE(PressReaches("ctrl+F11", 11));
      EXPECT_TRUE(PressReaches("alt+Insert", 12));
      EXPECT_TRUE(PressReaches("ctrl+alt+a", 13));
      // The keypad 5 key, whatever NumLock makes of it.
      EXPECT_TRUE(PressReaches("ctrl+KP_Begin", 14));
      EXPECT_TRUE(PressReaches("shift+ctrl+semicolon", 15));
    }
  }
}

TEST_F(X11HotKeyTest, OtherModifiersAndOtherKeysDoNotTrigger) {
  ASSERT_TRUE(registrar_->RegisterHotKey(1, kCtrl, 0x7A));  // Ctrl+F11
  ASSERT_TRUE(registrar_->RegisterHotKey(2, kAlt, 0x2D));   // Alt+Ins, the sentinel
  // More modifiers than registered, the Windows key among them, or none.
  EXPECT_TRUE(PressIsIgnored("ctrl+shift+F11", "alt+Insert", 2));
  EXPECT_TRUE(PressIsIgnored("ctrl+super+F11", "alt+Insert", 2));
  EXPECT_TRUE(PressIsIgnored("F11", "alt+Insert", 2));
  EXPECT_TRUE(PressIsIgnored("ctrl+F12", "alt+Insert", 2));
  EXPECT_TRUE(PressReaches("ctrl+F11", 1));
}

TEST_F(X11HotKeyTest, CombinationHeldByAnotherClientIsRefusedWithNothingLeftGrabbed) {
  OtherClient other;
  ASSERT_TRUE(other.connected());
  const std::uint8_t f5 = other.KeycodeOf(XK_F5);
  ASSERT_NE(f5, 0);
  // The other client holds only the plain variant; ours would get the lock
  // variants before learning of the refusal.
  ASSERT_TRUE(other.Grab(f5, XCB_MOD_MASK_CONTROL));
  ASSERT_TRUE(registrar_->RegisterHotKey(1, kAlt, 0x2D));

  EXPECT_FALSE(registrar_->RegisterHotKey(2, kCtrl, 0x74));  // Ctrl+F5

  // None of the lock variants stayed with us: a third client gets them all.
  OtherClient third;
  const std::uint16_t num_lock = x11_test::NumLockMask();
  for (const std::uint16_t lock : {std::uint16_t{XCB_MOD_MASK_LOCK}, num_lock,
                                   static_cast<std::uint16_t>(num_lock | XCB_MOD_MASK_LOCK)}) {
    EXPECT_TRUE(third.Grab(f5, XCB_MOD_MASK_CONTROL | lock)) << "lock bits " << lock;
  }
  // The refused combination goes to its holder; our other hot key works.
  EXPECT_TRUE(PressIsIgnored("ctrl+F5", "alt+Insert", 1));

  // Once the other clients let go, the same combination registers.
  other.Ungrab(f5, XCB_MOD_MASK_CONTROL);
  third.Ungrab(f5, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_LOCK);
  third.Ungrab(f5, XCB_MOD_MASK_CONTROL | num_lock);
  third.Ungrab(f5, XCB_MOD_MASK_CONTROL | num_lock | XCB_MOD_MASK_LOCK);
  ASSERT_TRUE(registrar_->RegisterHotKey(3, kCtrl, 0x74));
  EXPECT_TRUE(PressReaches("ctrl+F5", 3));
}

TEST_F(X11HotKeyTest, OwnCombinationTwiceIsRefusedAndTheFirstKeepsWorking) {
  ASSERT_TRUE(registrar_->RegisterHotKey(1, kCtrl, 0x7A));
  EXPECT_FALSE(registrar_->RegisterHotKey(2, kCtrl, 0x7A));
  // An identifier in use is refused too, whatever the combination.
  EXPECT_FALSE(registrar_->RegisterHotKey(1, kCtrl, 0x7B));
  EXPECT_TRUE(PressReaches("ctrl+F11", 1));
  // Releasing the refused one touches nothing of the first.
  registrar_->UnregisterHotKey(2);
  EXPECT_TRUE(PressReaches("ctrl+F11", 1));
}

TEST_F(X11HotKeyTest, UnregisteredCombinationNoLongerArrivesAndIsFreeForOthers) {
  ASSERT_TRUE(registrar_->RegisterHotKey(1, kCtrl, 0x7A));  // Ctrl+F11
  ASSERT_TRUE(registrar_->RegisterHotKey(2, kAlt, 0x2D));   // Alt+Ins
  ASSERT_TRUE(PressReaches("ctrl+F11", 1));

  registrar_->UnregisterHotKey(1);
  EXPECT_TRUE(PressIsIgnored("ctrl+F11", "alt+Insert", 2));
  OtherClient other;
  const std::uint8_t f11 = other.KeycodeOf(XK_F11);
  EXPECT_TRUE(other.Grab(f11, XCB_MOD_MASK_CONTROL));
  EXPECT_TRUE(other.Grab(f11, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_LOCK));

  // Destroying the registrar frees the rest.
  registrar_.reset();
  EXPECT_TRUE(other.Grab(other.KeycodeOf(XK_Insert), XCB_MOD_MASK_1));
}

TEST_F(X11HotKeyTest, KeysWithoutAnXKeyAreRefused) {
  EXPECT_FALSE(registrar_->RegisterHotKey(1, kCtrl, 0x00));
  EXPECT_FALSE(registrar_->RegisterHotKey(2, kCtrl, 0x07));   // no key
  EXPECT_FALSE(registrar_->RegisterHotKey(3, kCtrl, 0xDF));   // no US key
  EXPECT_FALSE(registrar_->RegisterHotKey(4, kCtrl, 0x141));  // above 255
  EXPECT_FALSE(registrar_->RegisterHotKey(5, 0x4000 | kCtrl, 0x41));
  // A refused identifier can be used again.
  EXPECT_TRUE(registrar_->RegisterHotKey(1, kCtrl, 0x41));
}

TEST_F(X11HotKeyTest, PressReleasedBeforeItIsDeliveredIsDropped) {
  ASSERT_TRUE(registrar_->RegisterHotKey(1, kCtrl, 0x7A));
  ASSERT_TRUE(registrar_->RegisterHotKey(2, kAlt, 0x2D));
  // The handler releases the other hot key while its press is still queued.
  registrar_->SetPressHandler([this](int identifier) {
    presses_.push_back(identifier);
    registrar_->UnregisterHotKey(identifier == 1 ? 2 : 1);
  });
  presses_.clear();
  ASSERT_TRUE(XdoKey("ctrl+F11 alt+Insert"));
  ASSERT_TRUE(WaitFor([&] { return !presses_.empty(); }));
  // Give a wrongly delivered second press its chance to arrive.
  test_support::PumpEventsFor(std::chrono::milliseconds(300));
  EXPECT_EQ(presses_, std::vector<int>{1});
}

}  // namespace
}  // namespace voxmere
