// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// The entry that starts the program when the user logs on, passing
// "-autostart" (the Windows program's Run value "Voxmere").
class StartupEntry {
 public:
  virtual ~StartupEntry() = default;

  // True when the entry is there and names a command to run.
  virtual bool Exists() const = 0;
  // Creates or replaces the entry so that it runs the program at
  // `program_path` with the switch "-autostart". Throws voxmere::Exception
  // when it cannot be written; the old entry, if any, then stays whole.
  virtual void Write(const QString& program_path) = 0;
  // Removes the entry; nothing to remove is fine. Throws voxmere::Exception
  // when an existing entry cannot be removed.
  virtual void Remove() = 0;
};

}  // namespace voxmere
