// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <utility>

#include "platform/session_end.h"

class QGuiApplication;
class QSessionManager;

namespace voxmere {

// The end-of-session query through Qt's session management (XSMP on X11,
// when SESSION_MANAGER names a session manager): the session manager's
// request to save before the session ends (QGuiApplication::commitDataRequest)
// asks the handler, and a refusal cancels the log-off.
//
// Qt does not tell a save at log-off from a checkpoint save. Session managers
// ask for a checkpoint with a local save, which Qt answers without this
// request, so in practice it comes only when the session ends.
class QtSessionEnd : public QObject, public SessionEnd {
  Q_OBJECT

 public:
  explicit QtSessionEnd(QGuiApplication* application);

  void SetQueryHandler(QueryHandler handler) override { handler_ = std::move(handler); }
  bool RequestInteraction() override;

 private:
  void OnCommitDataRequest(QSessionManager& manager);

  QueryHandler handler_;
  QSessionManager* asking_ = nullptr;  // while the handler runs
};

}  // namespace voxmere
