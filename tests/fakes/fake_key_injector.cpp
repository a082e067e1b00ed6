// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_key_injector.h"

#include <cstdio>

namespace voxmere {
namespace {

bool IsModifier(int virtual_key) {
  switch (virtual_key) {
    case 0x10:
    case 0x11:
    case 0x12:  // Shift, Ctrl, Alt
    case 0x5B:
    case 0x5C:  // Windows keys
    case 0xA0:
    case 0xA1:
    case 0xA2:
    case 0xA3:
    case 0xA4:
    case 0xA5:
      return true;
    default:
      return false;
  }
}

}  // namespace

void FakeKeyInjector::EndKeyboardGrab() {
  log_.push_back("EndKeyboardGrab");
  grabbed_ = false;
}

void FakeKeyInjector::ReleaseHeldModifiers() {
  log_.push_back("ReleaseHeldModifiers");
  std::erase_if(held_, IsModifier);
}

void FakeKeyInjector::KeyEvent(int virtual_key, bool key_up) {
  char entry[32];
  std::snprintf(entry, sizeof entry, "%s 0x%02X", key_up ? "KeyUp" : "KeyDown", virtual_key);
  log_.push_back(entry);
  if (key_up) {
    held_.erase(virtual_key);
    return;
  }
  const Press press{virtual_key, held_, grabbed_};
  held_.insert(virtual_key);
  if (on_press) on_press(press);
}

}  // namespace voxmere
