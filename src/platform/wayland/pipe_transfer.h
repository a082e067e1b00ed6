// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>

namespace voxmere {

// What reading a transfer's pipe gave.
struct PipeTransfer {
  enum class Status {
    kDone,      // the writer closed its end; `data` is all it wrote
    kTimedOut,  // the writer had not closed its end at the deadline
    kTooLarge,  // the writer wrote more than the limit
    kFailed,    // the pipe could not be read
  };
  Status status = Status::kFailed;
  QByteArray data;
};

// Reads `fd` until its writer closes it, for as long as `deadline` allows
// and up to `max_size` bytes; never blocks past the deadline. Leaves the fd
// open.
PipeTransfer ReadPipeUntilClosed(int fd, const QDeadlineTimer& deadline, qsizetype max_size);

}  // namespace voxmere
