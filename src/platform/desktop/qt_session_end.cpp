// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/qt_session_end.h"

#include <QGuiApplication>
#include <QSessionManager>

#include "platform/desktop/desktop_log.h"
#include "platform/exception.h"

namespace voxmere {

QtSessionEnd::QtSessionEnd(QGuiApplication* application) : QObject(application) {
  // Direct: the answer must be given before the signal returns.
  connect(application, &QGuiApplication::commitDataRequest, this,
          &QtSessionEnd::OnCommitDataRequest, Qt::DirectConnection);
}

bool QtSessionEnd::RequestInteraction() { return asking_ && asking_->allowsInteraction(); }

void QtSessionEnd::OnCommitDataRequest(QSessionManager& manager) {
  bool may_end = true;
  if (QueryHandler handler = handler_) {
    asking_ = &manager;
    try {
      may_end = handler();
    } catch (...) {
      // This runs inside the session manager's callback, which no exception
      // may cross; a failing handler must not hold up the user's log-off.
      qCWarning(DesktopLog, "The end-of-session query failed; the session may end: %s",
                qUtf8Printable(CurrentExceptionMessage()));
      may_end = true;
    }
    asking_ = nullptr;
  }
  if (may_end) {
    // Ends an interaction the handler asked for; without one it does nothing.
    manager.release();
  } else {
    manager.cancel();
  }
}

}  // namespace voxmere
