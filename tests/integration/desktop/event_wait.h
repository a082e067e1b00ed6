#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace voxmere {

// Runs the event loop until `done` holds or `timeout_ms` passes; `done` is
// checked every 10 ms. Returns `done()`'s last value.
inline bool WaitForEvents(const std::function<bool()>& done, int timeout_ms) {
  if (done()) return true;
  QDeadlineTimer deadline(timeout_ms);
  QEventLoop loop;
  QTimer check;
  check.setInterval(10);
  bool result = false;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    result = done();
    if (result || deadline.hasExpired()) loop.quit();
  });
  check.start();
  loop.exec();
  return result;
}

}  // namespace voxmere
