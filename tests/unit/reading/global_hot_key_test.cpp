// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/global_hot_key.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "fakes/fake_hot_key_registrar.h"

namespace voxmere {
namespace {

using Call = FakeHotKeyRegistrar::Call;

constexpr unsigned kAlt = HotKeyRegistrar::kModAlt;
constexpr unsigned kCtrl = HotKeyRegistrar::kModControl;
constexpr unsigned kShift = HotKeyRegistrar::kModShift;

Call Registered(int identifier, unsigned modifiers, unsigned virtual_key, bool accepted = true) {
  return {.kind = Call::Kind::kRegister,
          .identifier = identifier,
          .modifiers = modifiers,
          .virtual_key = virtual_key,
          .accepted = accepted};
}

Call Unregistered(int identifier) {
  return {.kind = Call::Kind::kUnregister, .identifier = identifier};
}

class GlobalHotKeyTest : public ::testing::Test {
 protected:
  // Records presses as "name" per handler call.
  void Record(GlobalHotKey& hot_key) {
    hot_key.OnHotKey = [this](GlobalHotKey& sender) { pressed_ << sender.Name(); };
  }

  FakeHotKeyRegistrar registrar_;
  HotKeyOwner owner_{registrar_};
  QStringList pressed_;
};

TEST_F(GlobalHotKeyTest, ActivationTakesANewIdentifierEveryTime) {
  GlobalHotKey reading(owner_, "DefaultHotKey");
  GlobalHotKey slot(owner_, "SlotHotKey_3", 3);
  EXPECT_EQ(slot.Tag(), 3);
  EXPECT_EQ(reading.HotKey(), 0);
  EXPECT_FALSE(reading.Active());
  EXPECT_EQ(reading.Identifier(), -1);

  reading.SetHotKey(0xE041);  // inactive: only remembered
  EXPECT_TRUE(registrar_.Calls().empty());
  reading.SetActive(true);
  reading.SetActive(true);  // already on: nothing
  EXPECT_TRUE(reading.Active());
  reading.SetActive(false);
  reading.SetActive(false);  // already off: nothing
  reading.SetActive(true);
  slot.SetHotKey(0x4065);  // Ctrl + keypad 5
  slot.SetActive(true);
  EXPECT_EQ(slot.Identifier(), 2);
  EXPECT_EQ(owner_.NextIdentifier(), 3);
  EXPECT_EQ(
      registrar_.Calls(),
      (std::vector<Call>{Registered(0, kCtrl | kShift | kAlt, 0x41), Unregistered(0),
                         Registered(1, kCtrl | kShift | kAlt, 0x41), Registered(2, kCtrl, 0x65)}));

  // The unused bits 8..12 reach the system with the key; no key and no
  // modifiers are attempted like any other combination.
  GlobalHotKey odd(owner_, "SlotHotKey_4", 4);
  odd.SetHotKey(0x8103);
  odd.SetActive(true);
  GlobalHotKey none(owner_, "SlotHotKey_5", 5);
  none.SetActive(true);
  EXPECT_EQ(registrar_.Calls().at(4), Registered(3, kAlt, 0x103));
  EXPECT_EQ(registrar_.Calls().at(5), Registered(4, 0, 0));
}

TEST_F(GlobalHotKeyTest, RefusedCombinationStaysInactiveUntilTheNextAttempt) {
  registrar_.HoldByOtherClient(kCtrl, 0x08);
  GlobalHotKey reading(owner_, "DefaultHotKey");
  Record(reading);
  reading.SetHotKey(16392);  // Ctrl+BkSp
  reading.SetActive(true);
  EXPECT_FALSE(reading.Active());
  EXPECT_TRUE(owner_.Listeners().empty());
  // Nothing to release when it was never registered.
  reading.SetActive(false);
  EXPECT_EQ(registrar_.Calls(), (std::vector<Call>{Registered(0, kCtrl, 0x08, false)}));

  // The other program lets go; the next activation succeeds under a new
  // identifier.
  registrar_.ReleaseByOtherClient(kCtrl, 0x08);
  reading.SetActive(true);
  EXPECT_TRUE(reading.Active());
  EXPECT_EQ(reading.Identifier(), 1);
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x08));
  EXPECT_EQ(pressed_, QStringList({"DefaultHotKey"}));

  // Our own hot keys cannot share a combination either.
  GlobalHotKey stop(owner_, "StopHotKey");
  stop.SetHotKey(16392);
  stop.SetActive(true);
  EXPECT_FALSE(stop.Active());
}

TEST_F(GlobalHotKeyTest, NewCombinationOfAnActiveHotKeyWorksAtOnce) {
  GlobalHotKey reading(owner_, "DefaultHotKey");
  Record(reading);
  reading.SetHotKey(32813);  // Alt+Ins
  reading.SetActive(true);
  registrar_.ClearCalls();

  reading.SetHotKey(32813);  // same code: nothing
  EXPECT_TRUE(registrar_.Calls().empty());
  reading.SetHotKey(16506);  // Ctrl+F11
  EXPECT_TRUE(reading.Active());
  EXPECT_EQ(registrar_.Calls(), (std::vector<Call>{Unregistered(0), Registered(1, kCtrl, 0x7A)}));
  EXPECT_FALSE(registrar_.Press(kAlt, 0x2D));
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x7A));
  EXPECT_EQ(pressed_, QStringList({"DefaultHotKey"}));

  // A refused new combination leaves it inactive, the old one released.
  registrar_.HoldByOtherClient(kCtrl, 0x7B);
  reading.SetHotKey(16507);
  EXPECT_FALSE(reading.Active());
  EXPECT_EQ(reading.HotKey(), 16507);
  EXPECT_TRUE(registrar_.Registered().empty());

  // An inactive hot key only takes the code and registers it when switched on.
  registrar_.ReleaseByOtherClient(kCtrl, 0x7B);
  registrar_.ClearCalls();
  reading.SetHotKey(16392);
  EXPECT_TRUE(registrar_.Calls().empty());
  reading.SetActive(true);
  EXPECT_EQ(registrar_.Calls(), (std::vector<Call>{Registered(3, kCtrl, 0x08)}));
}

TEST_F(GlobalHotKeyTest, PressesReachTheHotKeyOfTheirIdentifier) {
  GlobalHotKey reading(owner_, "DefaultHotKey");
  GlobalHotKey options(owner_, "OptionsHotKey");
  GlobalHotKey stop(owner_, "StopHotKey");
  Record(reading);
  Record(options);
  reading.SetHotKey(16392);
  options.SetHotKey(16506);
  stop.SetHotKey(16507);  // no handler set
  reading.SetActive(true);
  options.SetActive(true);
  stop.SetActive(true);

  EXPECT_TRUE(registrar_.Press(kCtrl, 0x7A));
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x08));
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x7B));
  EXPECT_FALSE(registrar_.Press(kCtrl, 0x41));
  EXPECT_EQ(pressed_, QStringList({"OptionsHotKey", "DefaultHotKey"}));

  // Switched off: a press still queued for the old identifier is dropped,
  // and after switching on again the old identifier stays dead.
  const int old_identifier = reading.Identifier();
  reading.SetActive(false);
  pressed_.clear();
  registrar_.DeliverPress(old_identifier);
  EXPECT_FALSE(registrar_.Press(kCtrl, 0x08));
  reading.SetActive(true);
  registrar_.DeliverPress(old_identifier);
  EXPECT_TRUE(pressed_.isEmpty());
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x08));
  EXPECT_EQ(pressed_, QStringList({"DefaultHotKey"}));
}

TEST_F(GlobalHotKeyTest, HandlerMayDestroyHotKeysWhilePressed) {
  auto first = std::make_unique<GlobalHotKey>(owner_, "SlotHotKey_0");
  auto second = std::make_unique<GlobalHotKey>(owner_, "SlotHotKey_1", 1);
  first->SetHotKey(0x4031);
  second->SetHotKey(0x4032);
  first->SetActive(true);
  second->SetActive(true);
  // Like rebuilding the slot hot keys from inside a slot's own handler: the
  // handler's captures must survive the destruction of its hot key.
  auto trace = std::make_shared<QStringList>();
  first->OnHotKey = [&, trace](GlobalHotKey& sender) {
    *trace << sender.Name();
    second.reset();
    first.reset();
    *trace << "rebuilt";
  };
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x31));
  EXPECT_EQ(*trace, QStringList({"SlotHotKey_0", "rebuilt"}));
  EXPECT_TRUE(owner_.Listeners().empty());
  EXPECT_TRUE(owner_.Components().empty());
  EXPECT_TRUE(registrar_.Registered().empty());

  // A handler that switches itself off and on again keeps working.
  GlobalHotKey stop(owner_, "StopHotKey");
  stop.SetHotKey(16507);
  stop.SetActive(true);
  int presses = 0;
  stop.OnHotKey = [&presses](GlobalHotKey& sender) {
    ++presses;
    sender.SetActive(false);
    sender.SetActive(true);
  };
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x7B));
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x7B));
  EXPECT_EQ(presses, 2);
  EXPECT_TRUE(stop.Active());
}

TEST_F(GlobalHotKeyTest, SwitchingOffOrDestroyingReleasesTheKeys) {
  auto options = std::make_unique<GlobalHotKey>(owner_, "OptionsHotKey");
  GlobalHotKey slot(owner_, "SlotHotKey_0");
  EXPECT_EQ(owner_.FindComponent("OptionsHotKey"), options.get());
  EXPECT_EQ(owner_.FindComponent("SlotHotKey_0"), &slot);
  EXPECT_EQ(owner_.FindComponent("StopHotKey"), nullptr);

  options->SetHotKey(16506);
  slot.SetHotKey(16506);
  options->SetActive(true);
  slot.SetActive(true);
  EXPECT_FALSE(slot.Active());
  options->SetActive(false);
  slot.SetActive(true);
  EXPECT_TRUE(slot.Active());

  // Destroying an active hot key releases its registration.
  slot.SetActive(false);
  options->SetActive(true);
  const int identifier = options->Identifier();
  options.reset();
  EXPECT_EQ(registrar_.Calls().back(), Unregistered(identifier));
  EXPECT_FALSE(registrar_.IsRegistered(kCtrl, 0x7A));
  EXPECT_EQ(owner_.Components(), std::vector<GlobalHotKey*>{&slot});
}

TEST(HotKeyOwnerTest, OwnsThePressHandlerForItsLifetime) {
  FakeHotKeyRegistrar registrar;
  {
    HotKeyOwner owner(registrar);
    EXPECT_TRUE(registrar.HasPressHandler());
  }
  EXPECT_FALSE(registrar.HasPressHandler());
  registrar.DeliverPress(0);  // no owner left to call
}

}  // namespace
}  // namespace voxmere
