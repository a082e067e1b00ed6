// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// The diagnostic trace: one line per traced event (close requests, the
// end-of-session query, the clean-up), "EVENT HH:MM:SS". Writing never fails
// for the caller: a trace that cannot be written is skipped silently.
class TraceFile {
 public:
  virtual ~TraceFile() = default;
  virtual void WriteTrace(const QString& event) = 0;
};

}  // namespace voxmere
