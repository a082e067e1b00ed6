// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/pipe_transfer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace voxmere {

PipeTransfer ReadPipeUntilClosed(int fd, const QDeadlineTimer& deadline, qsizetype max_size) {
  using Status = PipeTransfer::Status;
  PipeTransfer transfer;
  // Non-blocking, so that a writer that stops half-way cannot hold a read.
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return transfer;
  constexpr qsizetype kChunk = 64 * 1024;
  for (;;) {
    const qsizetype size = transfer.data.size();
    transfer.data.resize(size + kChunk);
    const ssize_t got = read(fd, transfer.data.data() + size, kChunk);
    transfer.data.resize(size + (got > 0 ? got : 0));
    if (got == 0) {
      transfer.status = Status::kDone;
      return transfer;
    }
    if (got > 0) {
      if (transfer.data.size() > max_size) {
        transfer.data.clear();
        transfer.status = Status::kTooLarge;
        return transfer;
      }
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return transfer;
    if (deadline.hasExpired()) {
      transfer.status = Status::kTimedOut;
      return transfer;
    }
    pollfd readable{fd, POLLIN, 0};
    const int ready = poll(&readable, 1, static_cast<int>(deadline.remainingTime()));
    if (ready < 0 && errno != EINTR) return transfer;
  }
}

}  // namespace voxmere
