// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <vector>

#include "platform/key_event_conversion.h"

namespace voxmere {

// Virtual-key codes by Qt key code, as a test sets them (0 for any other key),
// with the modifiers' bits as on X11. Keeps every press it was asked about.
class FakeKeyEventConversion : public KeyEventConversion {
 public:
  void SetVirtualKey(int qt_key, int virtual_key) { codes_[qt_key] = virtual_key; }

  VirtualKeyPress VirtualKeyOf(const PressedKey& key) const override {
    asked.push_back(key);
    VirtualKeyPress press;
    if (const auto code = codes_.find(key.qt_key); code != codes_.end()) {
      press.virtual_key = code->second;
    }
    if (key.modifiers & Qt::ShiftModifier) press.shift |= VirtualKeyPress::kShift;
    if (key.modifiers & Qt::ControlModifier) press.shift |= VirtualKeyPress::kCtrl;
    if (key.modifiers & Qt::AltModifier) press.shift |= VirtualKeyPress::kAlt;
    return press;
  }

  mutable std::vector<PressedKey> asked;

 private:
  std::map<int, int> codes_;
};

}  // namespace voxmere
