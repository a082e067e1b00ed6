// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// The keyboard layout's names of keys. The Windows program asks the system for
// the name of a virtual-key code's scan code; the X11 implementation asks the
// current layout for the key's symbol.
class KeyNames {
 public:
  virtual ~KeyNames() = default;

  // The layout's name for a Windows virtual-key code (0..255), or an empty
  // text when the code has no key on this keyboard. Called only for codes
  // outside the program's fixed name table.
  virtual QString KeyName(int virtual_key) const = 0;
};

}  // namespace voxmere
