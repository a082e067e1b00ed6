// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

#include "platform/single_instance.h"

class QLockFile;

namespace voxmere {

// The running copy holds a lock file in the user's runtime folder. The lock
// of a process that died (a crash, SIGKILL) is taken over by the next start.
class LockFileSingleInstance : public SingleInstance {
 public:
  // The lock at DefaultInstanceLockPath().
  LockFileSingleInstance();
  // The lock at `lock_path`; an empty path makes every claim kUnchecked.
  explicit LockFileSingleInstance(QString lock_path);
  ~LockFileSingleInstance() override;

  Result Claim() override;

 private:
  QString lock_path_;
  std::unique_ptr<QLockFile> lock_;
};

// $XDG_RUNTIME_DIR/voxmere.lock. Without a usable XDG_RUNTIME_DIR (unset,
// relative, not a folder): voxmere-<uid>/voxmere.lock in the temp folder, that
// folder made private to the user. Empty when that folder exists but is not
// the user's own private folder (another user could then hold or fake our
// lock).
QString DefaultInstanceLockPath();

}  // namespace voxmere
