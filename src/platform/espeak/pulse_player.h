// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/espeak/pulse_connection.h"

struct pa_stream;
struct pa_operation;

namespace voxmere {

// Plays one engine's texts, one after another, on a playback stream of its
// own, and tells when each text's sound starts and when it has played out.
// Samples come from the synthesis thread; the stream is opened with the first
// of them, so selecting a voice costs the audio server nothing.
class PulsePlayer {
 public:
  // Called on the main loop's thread with the loop locked: no libpulse calls
  // on this player and no waiting.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void PlaybackStarted(std::uint64_t text_id) = 0;
    virtual void PlaybackStopped(std::uint64_t text_id) = 0;
  };

  PulsePlayer(std::shared_ptr<PulseConnector> connector, int sample_rate, Listener* listener);
  ~PulsePlayer();
  PulsePlayer(const PulsePlayer&) = delete;
  PulsePlayer& operator=(const PulsePlayer&) = delete;

  // Synthesis thread. Queues samples of a text (ids only grow); never waits
  // (it runs inside espeak-ng's callback). False when the text was dropped or
  // cannot be played.
  bool Append(std::uint64_t text_id, const std::int16_t* samples, std::size_t count);
  // Synthesis thread, between pieces of a text: waits while several seconds
  // are queued, so a long text does not pile up in memory. False when the
  // text was dropped or cannot be played.
  bool WaitForRoom(std::uint64_t text_id);
  // The text's synthesis ended: what was queued plays out.
  void Finish(std::uint64_t text_id);

  // Any thread but the main loop's: silences at once and drops every text up
  // to and including `text_id`.
  void DropThrough(std::uint64_t text_id);

 private:
  struct Text {
    std::uint64_t id = 0;
    std::deque<std::vector<std::int16_t>> chunks;
    std::size_t offset = 0;  // samples of the first chunk already written
    bool finished = false;
    bool written = false;
    bool started = false;
  };

  std::shared_ptr<PulseConnection> Connection();
  bool OpenStream(const std::shared_ptr<PulseConnection>& connection);
  bool DroppedLocked(std::uint64_t text_id) const;
  // These run with the loop locked.
  void Pump();
  void Drained(bool success);
  void Started();
  void StateChanged();

  const std::shared_ptr<PulseConnector> connector_;
  const int sample_rate_;
  Listener* const listener_;

  std::mutex setup_mutex_;  // guards connection_
  std::shared_ptr<PulseConnection> connection_;
  bool connect_failed_ = false;  // synthesis thread only

  // The rest is guarded by the loop lock.
  PulseConnection* pulse_ = nullptr;  // the stream's connection
  pa_stream* stream_ = nullptr;
  pa_operation* drain_ = nullptr;
  std::deque<Text> texts_;
  std::size_t queued_samples_ = 0;
  std::atomic<std::uint64_t> dropped_through_ = 0;
};

}  // namespace voxmere
