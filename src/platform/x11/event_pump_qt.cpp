// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/event_pump_qt.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

namespace voxmere {

void QtEventPump::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::WaitUntil(int milliseconds, const std::function<bool()>& done) {
  Wait(milliseconds, done, QEventLoop::AllEvents);
}

void QtEventPump::WaitWithoutInput(int milliseconds, const std::function<bool()>& done) {
  Wait(milliseconds, done, QEventLoop::ExcludeUserInputEvents);
  // Qt's X11 connection keeps the input it held back aside, and hands it on
  // only when it next reads the X server: with nothing more coming in, a
  // click made meanwhile would wait for the next mouse move. Take it as soon
  // as the caller is back in the event loop.
  if (QCoreApplication::instance() == nullptr) return;
  QTimer::singleShot(0, QCoreApplication::instance(),
                     [] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
}

void QtEventPump::Wait(int milliseconds, const std::function<bool()>& done,
                       QEventLoop::ProcessEventsFlags flags) {
  constexpr int kCheckMilliseconds = 1;
  QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
  if (QCoreApplication::instance() == nullptr) {
    // No event loop to run: plain sleeps.
    while (!deadline.hasExpired() && !done()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(
          std::min<qint64>(kCheckMilliseconds, std::max<qint64>(deadline.remainingTime(), 0))));
    }
    return;
  }
  // The timer only wakes the blocking wait for events, to ask `done`.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  while (!deadline.hasExpired() && !done()) {
    if (!wake.isActive()) {
      wake.start(
          static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 0, kCheckMilliseconds)));
    }
    QCoreApplication::processEvents(flags | QEventLoop::WaitForMoreEvents);
  }
}

}  // namespace voxmere
