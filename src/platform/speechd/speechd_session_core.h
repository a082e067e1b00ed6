// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libspeechd.h>

#include <QObject>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

#include "platform/speechd/speechd_session.h"

namespace voxmere {

// The state a session shares with its worker thread and with libspeechd's
// event thread. It outlives the session when a worker is stuck inside
// libspeechd (the worker keeps it alive until it returns).
class SpeechdSessionCore : public std::enable_shared_from_this<SpeechdSessionCore> {
 public:
  using Clock = std::chrono::steady_clock;
  using StreamHandler = SpeechdSession::StreamHandler;

  SpeechdSessionCore(QObject* receiver, StreamHandler handler);
  ~SpeechdSessionCore();

  // Makes the core findable from libspeechd's event callback; the worker
  // names its thread after the serial and libspeechd's event thread, created
  // by the worker, inherits the name.
  void Register();
  void Unregister();

  // The worker thread's body.
  void WorkerMain();

  // Queues a request and waits for it until `deadline`; on timeout the
  // session dies. Throws like SpeechdSession::Call.
  void Run(const std::function<void(SpeechdLink&)>& request, Clock::time_point deadline);

  // On the worker: takes the connection opened by spd_open2.
  void Adopt(SPDConnection* connection);
  // Ends the session: the messages speaking end, the socket is shut down so
  // that a libspeechd call waiting for a reply returns.
  void MarkDead(const QString& reason);
  bool Alive() const;

  // The sound check: while it runs, the daemon's events are the check's.
  void BeginProbe();
  bool WaitProbeEnded(Clock::time_point deadline);
  void EndProbe();

  // Whether a message of this session is speaking now.
  bool Speaking() const;
  // Waits until the message began (at most until `begin_deadline`) and then
  // `grace` more; false when the session died meanwhile.
  bool SurvivesStart(size_t message_id, Clock::time_point begin_deadline,
                     std::chrono::milliseconds grace);

  // Stops event delivery and asks the worker to close; returns whether the
  // worker finished within `wait` (shutting the socket down halfway).
  bool Close(std::chrono::milliseconds wait);

  // libspeechd's event callback (on its thread).
  static void OnEvent(size_t message_id, size_t client_id, SPDNotificationType type);

 private:
  void Deliver(size_t message_id, SPDNotificationType type);
  void PostLocked(bool start, int message_id);
  void MarkDeadLocked(const QString& reason);
  void Wake();
  void CloseConnection();

  const int serial_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> tasks_;
  bool closing_ = false;
  bool worker_done_ = false;
  bool dead_ = false;
  QString dead_reason_;
  int wake_fd_ = -1;
  int socket_copy_ = -1;  // our own descriptor of the daemon socket
  SPDConnection* connection_ = nullptr;
  SpeechdLink link_;  // worker only

  QObject* receiver_;
  StreamHandler handler_;
  std::set<size_t> started_;
  size_t last_begun_ = 0;  // message ids grow on a connection
  bool probing_ = false;
  bool probe_ended_ = false;
};

}  // namespace voxmere
