// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>

namespace voxmere::test_support {

// Runs the event loop until `condition` holds or `timeout` passes; true when
// it held. Outside programs, engine threads and daemons tell the loop nothing
// when their state changes, so the condition is looked at again every
// `interval`, outside the loop (it may run programs and loops of its own).
// Without an application (before it is made or after it ended) it sleeps
// between looks instead.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                      std::chrono::milliseconds interval = std::chrono::milliseconds(10)) {
  const QDeadlineTimer deadline(timeout);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    if (QCoreApplication::instance() == nullptr) {
      QThread::msleep(static_cast<unsigned long>(interval.count()));
      continue;
    }
    QEventLoop loop;
    QTimer::singleShot(interval, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

// Runs the event loop for `duration`: lets late events arrive, or keeps
// stimuli apart in time. Never a wait for something to happen.
inline void PumpEventsFor(std::chrono::milliseconds duration) {
  WaitUntil([] { return false; }, duration);
}

}  // namespace voxmere::test_support
