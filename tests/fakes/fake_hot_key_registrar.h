// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "platform/hot_key_registrar.h"

namespace voxmere {

// A system hot key table in memory: records every call, refuses combinations
// already taken (by us or by "another program"), and lets a test press keys.
class FakeHotKeyRegistrar : public HotKeyRegistrar {
 public:
  using Combination = std::pair<unsigned, unsigned>;  // modifiers, virtual key

  struct Call {
    enum class Kind { kRegister, kUnregister };
    Kind kind;
    int identifier;
    unsigned modifiers = 0;    // kRegister only
    unsigned virtual_key = 0;  // kRegister only
    bool accepted = false;     // kRegister only

    bool operator==(const Call&) const = default;
    // Readable failure messages in tests.
    friend std::ostream& operator<<(std::ostream& out, const Call& call) {
      if (call.kind == Kind::kUnregister) return out << "Unregister(" << call.identifier << ")";
      return out << "Register(" << call.identifier << ", mods " << call.modifiers << ", vk 0x"
                 << std::hex << call.virtual_key << std::dec
                 << (call.accepted ? ", accepted)" : ", refused)");
    }
  };

  bool RegisterHotKey(int identifier, unsigned modifiers, unsigned virtual_key) override;
  void UnregisterHotKey(int identifier) override;
  void SetPressHandler(PressHandler handler) override { handler_ = std::move(handler); }

  // Presses a combination: calls the press handler with the identifier it is
  // registered under. False (and no call) when it is not registered by us.
  bool Press(unsigned modifiers, unsigned virtual_key);
  // Delivers a press for an identifier as the system would, registered or not
  // (a press queued before its registration was released).
  void DeliverPress(int identifier);

  // Another program takes or frees a combination.
  void HoldByOtherClient(unsigned modifiers, unsigned virtual_key);
  void ReleaseByOtherClient(unsigned modifiers, unsigned virtual_key);

  bool IsRegistered(unsigned modifiers, unsigned virtual_key) const;
  // Our registrations by identifier.
  const std::map<int, Combination>& Registered() const { return registered_; }
  const std::vector<Call>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  bool HasPressHandler() const { return static_cast<bool>(handler_); }

 private:
  std::map<int, Combination> registered_;
  std::set<Combination> held_by_others_;
  std::vector<Call> calls_;
  PressHandler handler_;
};

}  // namespace voxmere
