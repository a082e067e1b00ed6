// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libspeechd.h>

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "platform/speechd/speechd_address.h"

namespace voxmere {

// Bounds on waiting for speech-dispatcher. libspeechd itself waits for every
// reply without limit, and a daemon without sound, or a stopped one, never
// answers.
struct SpeechdTimeouts {
  // Opening a session: the answer check, connecting (or starting the daemon)
  // and the sound check, all together.
  std::chrono::milliseconds open{2500};
  // The answer check alone.
  std::chrono::milliseconds ping{1000};
  // Any one request on an open session. The daemon serves nobody while it
  // lists voices to some client (~0.7 s, more on a busy machine).
  std::chrono::milliseconds call{2000};
  // Each of the two waits for the worker when a session closes.
  std::chrono::milliseconds close{300};
};

class SpeechdSessionCore;

// What a request sees on the worker thread that owns the connection.
class SpeechdLink {
 public:
  SPDConnection* Connection() const { return connection_; }
  // Throws voxmere::Exception when a libspeechd call failed (`result` not 0):
  // a lost connection ends the session; otherwise the daemon refused `what`.
  void Check(int result, const QString& what);

  // The pitch last set on the connection, so it is set only when it changes.
  std::optional<int> pitch;

 private:
  friend class SpeechdSessionCore;
  SpeechdSessionCore* core_ = nullptr;
  SPDConnection* connection_ = nullptr;
};

// One connection to speech-dispatcher through libspeechd, owned by a worker
// thread: every libspeechd call runs there, and the calling thread waits for
// it with a deadline, so a daemon that stops answering costs at most one
// timeout and leaves the session dead. The daemon's begin, end and cancel
// notifications arrive on libspeechd's own thread and are passed on, queued,
// to a receiver object's thread as the start and end of messages: every
// start gets exactly one end (a cancelled message that never began gets
// none, and the messages speaking when the session dies end then).
class SpeechdSession {
 public:
  using StreamHandler = std::function<void(bool start, int message_id)>;

  // Opens a session within timeouts.open: checks that the daemon answers (or,
  // with `autospawn`, lets libspeechd start one where nothing listens),
  // connects in threaded mode with SSML and notifications on, and speaks a
  // silent sound check that must finish (a daemon without an audio server
  // begins it and never ends). `handler` runs on `receiver`'s thread. Throws
  // voxmere::Exception with the reason on failure.
  static std::unique_ptr<SpeechdSession> Open(const SpeechdAddress& address, bool autospawn,
                                              const SpeechdTimeouts& timeouts, QObject* receiver,
                                              StreamHandler handler);

  // Cancels this session's speech and closes, waiting at most twice
  // timeouts.close; a worker stuck inside libspeechd is left to finish alone.
  ~SpeechdSession();
  SpeechdSession(const SpeechdSession&) = delete;
  SpeechdSession& operator=(const SpeechdSession&) = delete;

  // False once the connection is lost or a request timed out.
  bool Alive() const;
  // Whether a message of this session is speaking now.
  bool Speaking() const;
  // Waits until the message began (at most `begin` long) and then `grace`
  // more; false when the session died meanwhile.
  bool SurvivesStart(int message_id, std::chrono::milliseconds begin,
                     std::chrono::milliseconds grace);

  // Runs `request` on the worker within timeouts.call (plus `extra`, for
  // work the daemon does in proportion to a long text) and returns its
  // result; throws what the request throws, or voxmere::Exception when it
  // did not finish in time or the session is dead. The request may still
  // run after the caller gave up: it must hold its data by value.
  template <typename Result>
  Result Call(std::function<Result(SpeechdLink&)> request,
              std::chrono::milliseconds extra = std::chrono::milliseconds(0)) {
    auto result = std::make_shared<std::optional<Result>>();
    Run([result,
         request = std::move(request)](SpeechdLink& link) { result->emplace(request(link)); },
        Deadline() + extra);
    return std::move(**result);
  }
  void Call(const std::function<void(SpeechdLink&)>& request) { Run(request, Deadline()); }

 private:
  using Clock = std::chrono::steady_clock;

  SpeechdSession(std::shared_ptr<SpeechdSessionCore> core, const SpeechdTimeouts& timeouts);
  Clock::time_point Deadline() const { return Clock::now() + timeouts_.call; }
  void Run(const std::function<void(SpeechdLink&)>& request, Clock::time_point deadline);
  void Connect(const SpeechdAddress& address, bool autospawn, Clock::time_point deadline);
  void ProbeSound(Clock::time_point deadline);

  std::shared_ptr<SpeechdSessionCore> core_;
  SpeechdTimeouts timeouts_;
  std::thread worker_;
};

}  // namespace voxmere
