// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <QString>
#include <QStringList>

namespace voxmere {

// A minimal X session manager (XSMP on libSM) in a child process of its own,
// so that a QGuiApplication of the test process can be its client. It
// registers clients, grants every interaction request, and reports what the
// clients answer as lines of text:
//   "registered", "interact-request normal|error", "interact-done cancel=0|1",
//   "save-yourself-done success=0|1", "closed".
// After a client's save it sends SaveComplete, or ShutdownCancelled when the
// client cancelled the shutdown, so the client is ready for the next round.
class FakeSessionManager {
 public:
  FakeSessionManager() = default;
  FakeSessionManager(const FakeSessionManager&) = delete;
  FakeSessionManager& operator=(const FakeSessionManager&) = delete;
  ~FakeSessionManager();

  // Forks the manager. Call before any thread or X connection exists in the
  // test process. False when it cannot listen.
  bool Start();
  // The value for SESSION_MANAGER.
  const QString& NetworkIds() const { return network_ids_; }

  enum class Interaction { kNone, kErrors, kAny };
  // Asks every client to save before a shutdown (a global save, not fast).
  void SendShutdownSave(Interaction interaction);

  // The reports that arrive until one starts with `last` (included) or the
  // deadline passes, pumping the Qt event loop meanwhile so that a client in
  // this process can answer.
  QStringList EventsUntil(const QString& last, int timeout_ms = 15000);

 private:
  bool ReadLines();

  pid_t pid_ = -1;
  int command_fd_ = -1;
  int event_fd_ = -1;
  QString network_ids_;
  QByteArray pending_;
  QStringList lines_;
};

}  // namespace voxmere
