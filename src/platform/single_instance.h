// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxmere {

// The rule that one copy of the program runs per user.
class SingleInstance {
 public:
  enum class Result {
    kFirst,           // this process is now the running copy
    kAlreadyRunning,  // another live process of this user holds the claim
    kUnchecked,       // the claim could not be made (no usable folder, I/O
                      // error); the program runs without the guard
  };

  virtual ~SingleInstance() = default;

  // Claims the running copy for this process until the object is destroyed or
  // the process ends (a crash included). Claiming again after kFirst returns
  // kFirst.
  virtual Result Claim() = 0;
};

}  // namespace voxmere
