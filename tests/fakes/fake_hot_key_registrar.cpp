// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_hot_key_registrar.h"

#include <algorithm>

namespace voxmere {

bool FakeHotKeyRegistrar::RegisterHotKey(int identifier, unsigned modifiers, unsigned virtual_key) {
  const Combination combination{modifiers, virtual_key};
  // Refused like the system does: the combination is taken, or the
  // identifier is already in use on the window.
  const bool accepted = !held_by_others_.contains(combination) &&
                        !IsRegistered(modifiers, virtual_key) && !registered_.contains(identifier);
  calls_.push_back({.kind = Call::Kind::kRegister,
                    .identifier = identifier,
                    .modifiers = modifiers,
                    .virtual_key = virtual_key,
                    .accepted = accepted});
  if (accepted) registered_[identifier] = combination;
  return accepted;
}

void FakeHotKeyRegistrar::UnregisterHotKey(int identifier) {
  calls_.push_back({.kind = Call::Kind::kUnregister, .identifier = identifier});
  registered_.erase(identifier);
}

bool FakeHotKeyRegistrar::Press(unsigned modifiers, unsigned virtual_key) {
  const Combination combination{modifiers, virtual_key};
  auto it = std::find_if(registered_.begin(), registered_.end(),
                         [&combination](const auto& entry) { return entry.second == combination; });
  if (it == registered_.end()) return false;
  DeliverPress(it->first);
  return true;
}

void FakeHotKeyRegistrar::DeliverPress(int identifier) {
  // A copy: the handler may replace the handler while it runs.
  if (PressHandler handler = handler_) handler(identifier);
}

void FakeHotKeyRegistrar::HoldByOtherClient(unsigned modifiers, unsigned virtual_key) {
  held_by_others_.insert({modifiers, virtual_key});
}

void FakeHotKeyRegistrar::ReleaseByOtherClient(unsigned modifiers, unsigned virtual_key) {
  held_by_others_.erase({modifiers, virtual_key});
}

bool FakeHotKeyRegistrar::IsRegistered(unsigned modifiers, unsigned virtual_key) const {
  const Combination combination{modifiers, virtual_key};
  return std::any_of(registered_.begin(), registered_.end(),
                     [&combination](const auto& entry) { return entry.second == combination; });
}

}  // namespace voxmere
