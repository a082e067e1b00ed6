// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

struct pa_threaded_mainloop;
struct pa_context;

namespace voxmere {

// A connection to the audio server (PulseAudio, or PipeWire through its
// PulseAudio service) with libpulse's threaded main loop. Callbacks run on
// the main loop's thread with the loop locked; other threads lock it with
// PulseLock around every libpulse call.
class PulseConnection {
 public:
  using Clock = std::chrono::steady_clock;

  // Connects, without starting a server of its own; nullptr with the reason
  // in *error when no server answers within `timeout`.
  static std::shared_ptr<PulseConnection> Connect(std::chrono::milliseconds timeout,
                                                  QString* error);
  ~PulseConnection();
  PulseConnection(const PulseConnection&) = delete;
  PulseConnection& operator=(const PulseConnection&) = delete;

  pa_threaded_mainloop* Mainloop() const { return mainloop_; }
  pa_context* Context() const { return context_; }

  // Still connected; call with the loop locked.
  bool ReadyLocked() const;

  // Waits until `done` (checked with the loop locked) holds, or the deadline
  // passes (false). Not on the main loop's thread. Callbacks that change what
  // `done` looks at call Changed().
  bool WaitUntil(const std::function<bool()>& done, Clock::time_point deadline);
  void Changed();

 private:
  PulseConnection() = default;

  pa_threaded_mainloop* mainloop_ = nullptr;
  pa_context* context_ = nullptr;

  std::mutex wait_mutex_;
  std::condition_variable changed_;
  std::uint64_t changes_ = 0;
};

// Locks a connection's main loop for the current scope.
class PulseLock {
 public:
  explicit PulseLock(const PulseConnection& connection);
  ~PulseLock();
  PulseLock(const PulseLock&) = delete;
  PulseLock& operator=(const PulseLock&) = delete;

 private:
  pa_threaded_mainloop* mainloop_;
};

// Hands out one shared connection, connecting again when the last one broke
// (the audio server restarted).
class PulseConnector {
 public:
  explicit PulseConnector(std::chrono::milliseconds timeout) : timeout_(timeout) {}
  // nullptr (reason in *error when given) when no server answers in time.
  std::shared_ptr<PulseConnection> Get(QString* error = nullptr);

 private:
  const std::chrono::milliseconds timeout_;
  std::mutex mutex_;
  std::shared_ptr<PulseConnection> current_;
};

}  // namespace voxmere
