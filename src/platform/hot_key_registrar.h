// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace voxmere {

// System-wide hot key registration, shaped like the Windows calls the program
// was built on: a combination is registered under an identifier, and a press
// reports that identifier.
class HotKeyRegistrar {
 public:
  // Modifier flags as the Windows program passes them.
  static constexpr unsigned kModAlt = 1;
  static constexpr unsigned kModControl = 2;
  static constexpr unsigned kModShift = 4;

  using PressHandler = std::function<void(int identifier)>;

  virtual ~HotKeyRegistrar() = default;

  // Registers the combination of a Windows virtual-key code and modifiers.
  // Returns false, and leaves nothing registered, when the system refuses it
  // (another client holds it, or the key does not exist here).
  virtual bool RegisterHotKey(int identifier, unsigned modifiers, unsigned virtual_key) = 0;

  // Releases what was registered under the identifier; unknown identifiers
  // are ignored.
  virtual void UnregisterHotKey(int identifier) = 0;

  // Presses arrive on the user-interface thread through this handler.
  virtual void SetPressHandler(PressHandler handler) = 0;
};

}  // namespace voxmere
