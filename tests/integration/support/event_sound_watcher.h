// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <string>

struct pa_threaded_mainloop;
struct pa_context;

namespace voxmere {

// Counts the streams the test audio server is given for one sound event
// (their "event.id" property, as libcanberra sets it): tells an event sound
// from speech where both are just sound on the sink.
class EventSoundWatcher {
 public:
  // Connects and starts watching; throws std::runtime_error when there is no
  // audio server.
  explicit EventSoundWatcher(std::string event_id);
  ~EventSoundWatcher();
  EventSoundWatcher(const EventSoundWatcher&) = delete;
  EventSoundWatcher& operator=(const EventSoundWatcher&) = delete;

  // Streams of the event begun since the watcher started.
  int Count() const { return count_.load(); }

 private:
  void Shutdown();

  const std::string event_id_;
  std::atomic<int> count_{0};
  pa_threaded_mainloop* mainloop_ = nullptr;
  pa_context* context_ = nullptr;
};

}  // namespace voxmere
