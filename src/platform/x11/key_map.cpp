// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_map.h"

#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/x11/x11_log.h"

namespace voxmere {

KeyboardMap::KeyboardMap(Keycode min_keycode, int keysyms_per_keycode, std::vector<Keysym> keysyms)
    : min_keycode_(min_keycode), per_keycode_(keysyms_per_keycode), keysyms_(std::move(keysyms)) {
  if (per_keycode_ <= 0) keysyms_.clear();
}

Keysym KeyboardMap::KeysymAt(Keycode keycode, int column) const {
  if (keycode < min_keycode_ || column < 0 || column >= per_keycode_) return 0;
  const std::size_t index =
      static_cast<std::size_t>(keycode - min_keycode_) * per_keycode_ + column;
  return index < keysyms_.size() ? keysyms_[index] : 0;
}

bool KeyboardMap::HasKey(Keycode keycode) const { return ShownKeysym(keycode) != 0; }

Keysym KeyboardMap::ShownKeysym(Keycode keycode) const {
  for (int column = 0; column < per_keycode_; ++column) {
    if (Keysym keysym = KeysymAt(keycode, column)) return keysym;
  }
  return 0;
}

std::vector<Keycode> KeyboardMap::KeycodesOf(Keysym keysym) const {
  std::vector<Keycode> found;
  if (keysym == 0 || per_keycode_ <= 0) return found;
  const int keys = static_cast<int>(keysyms_.size()) / per_keycode_;
  const auto add_column = [&](int column) {
    for (int key = 0; key < keys; ++key) {
      const Keycode keycode = static_cast<Keycode>(min_keycode_ + key);
      if (KeysymAt(keycode, column) == keysym &&
          std::find(found.begin(), found.end(), keycode) == found.end()) {
        found.push_back(keycode);
      }
    }
  };
  add_column(0);
  add_column(1);
  for (int column = 2; found.empty() && column < per_keycode_; ++column) add_column(column);
  return found;
}

std::vector<Keycode> KeyboardMap::KeycodesOfVirtualKey(int virtual_key) const {
  const VirtualKeyInfo* info = FindVirtualKey(virtual_key);
  if (info == nullptr) return {};
  std::vector<Keycode> found;
  if (info->lookup != KeyLookup::kByPosition) {
    for (Keysym keysym : info->keysyms) {
      for (Keycode keycode : KeycodesOf(keysym)) {
        if (std::find(found.begin(), found.end(), keycode) == found.end()) {
          found.push_back(keycode);
        }
      }
    }
  }
  if (found.empty() && info->lookup != KeyLookup::kBySymbol && HasKey(info->us_keycode)) {
    found.push_back(info->us_keycode);
  }
  return found;
}

std::uint16_t ModifierMaskOf(const KeyboardMap& map, Keysym keysym,
                             const std::vector<Keycode>& modifier_keycodes,
                             int keycodes_per_modifier) {
  const std::vector<Keycode> keys = map.KeycodesOf(keysym);
  for (int modifier = 0; modifier < 8; ++modifier) {
    for (int i = 0; i < keycodes_per_modifier; ++i) {
      const std::size_t index = std::size_t(modifier) * keycodes_per_modifier + i;
      if (index >= modifier_keycodes.size()) return 0;
      const Keycode keycode = modifier_keycodes[index];
      if (keycode != 0 && std::find(keys.begin(), keys.end(), keycode) != keys.end()) {
        return static_cast<std::uint16_t>(1u << modifier);
      }
    }
  }
  return 0;
}

KeyboardMap FetchKeyboardMap(xcb_connection_t* connection) {
  if (connection == nullptr) return {};
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
      xcb_get_keyboard_mapping_reply(
          connection,
          xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<uint8_t>(count)),
          nullptr),
      &std::free);
  if (!reply) {
    qCWarning(X11Log, "The keyboard mapping could not be read from the X server");
    return {};
  }
  const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
  const int length = xcb_get_keyboard_mapping_keysyms_length(reply.get());
  return KeyboardMap(setup->min_keycode, reply->keysyms_per_keycode,
                     std::vector<Keysym>(keysyms, keysyms + length));
}

std::uint16_t FetchNumLockMask(xcb_connection_t* connection, const KeyboardMap& map) {
  if (connection == nullptr) return 0;
  std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&std::free)> reply(
      xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr),
      &std::free);
  if (!reply) {
    qCWarning(X11Log, "The modifier mapping could not be read; NumLock is not allowed for");
    return 0;
  }
  const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
  const int length = xcb_get_modifier_mapping_keycodes_length(reply.get());
  return ModifierMaskOf(map, XK_Num_Lock, std::vector<Keycode>(keycodes, keycodes + length),
                        reply->keycodes_per_modifier);
}

}  // namespace voxmere
