// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_key_names.h"

namespace voxmere {

FakeKeyNames::FakeKeyNames() {
  // Names of keys outside the program's fixed table on a US layout. The keys
  // with two codes (generic and left/right) repeat names, as real layouts do.
  names_ = {
      {0x0C, "Num 5"},
      {0x10, "Shift"},
      {0x11, "Ctrl"},
      {0x12, "Alt"},
      {0x13, "Pause"},
      {0x14, "Caps Lock"},
      {0x2C, "Sys Req"},
      {0x5B, "Left Windows"},
      {0x5C, "Right Windows"},
      {0x5D, "Application"},
      {0x6A, "Num *"},
      {0x6B, "Num +"},
      {0x6D, "Num -"},
      {0x6E, "Num Del"},
      {0x6F, "Num /"},
      {0x90, "Num Lock"},
      {0x91, "Scroll Lock"},
      {0xA0, "Shift"},
      {0xA1, "Right Shift"},
      {0xA2, "Ctrl"},
      {0xA3, "Right Ctrl"},
      {0xA4, "Alt"},
      {0xA5, "Right Alt"},
      {0xBA, ";"},
      {0xBB, "="},
      {0xBC, ","},
      {0xBD, "-"},
      {0xBE, "."},
      {0xBF, "/"},
      {0xC0, "`"},
      {0xDB, "["},
      {0xDC, "\\"},
      {0xDD, "]"},
      {0xDE, "'"},
  };
}

QString FakeKeyNames::KeyName(int virtual_key) const {
  ++calls_;
  auto it = names_.find(virtual_key);
  return it == names_.end() ? QString() : it->second;
}

void FakeKeyNames::SetName(int virtual_key, const QString& name) {
  if (name.isEmpty()) {
    names_.erase(virtual_key);
  } else {
    names_[virtual_key] = name;
  }
}

void FakeKeyNames::Clear() { names_.clear(); }

}  // namespace voxmere
