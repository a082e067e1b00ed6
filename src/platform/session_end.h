// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace voxmere {

// The desktop session asks whether it may end (log-off, shutdown).
class SessionEnd {
 public:
  // Answers the question: true lets the session end, false asks the session
  // manager to cancel it. Runs on the user-interface thread.
  using QueryHandler = std::function<bool()>;

  virtual ~SessionEnd() = default;

  virtual void SetQueryHandler(QueryHandler handler) = 0;

  // Only while the handler runs: asks the session manager for leave to show
  // windows (a message box) now. True when granted; false when the session
  // ends without interaction or nothing is being asked. Ask only when there is
  // something to show: a desktop may tell the user that the program is holding
  // up the log-off while it interacts.
  virtual bool RequestInteraction() = 0;
};

}  // namespace voxmere
