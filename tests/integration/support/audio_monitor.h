// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;

namespace voxmere {

// Records what the test audio server plays: the monitor of the sink named in
// $VOXMERE_TEST_SINK (the default sink's monitor when unset), 16 kHz mono
// signed 16-bit, on libpulse's own thread. Every small block is stamped with
// the steady clock at its arrival minus its duration, so that "speak call ->
// first audible sample" can be measured to a few milliseconds.
class AudioMonitor {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kSampleRate = 16000;
  // A sample whose magnitude reaches this counts as sound (about -38 dBFS);
  // the null sink's monitor gives exact zeros for silence.
  static constexpr int kLoudSample = 400;

  struct Segment {
    Clock::time_point begin, end;
  };

  // Connects and starts recording; throws std::runtime_error when there is
  // no audio server or the monitor cannot be recorded.
  AudioMonitor();
  ~AudioMonitor();
  AudioMonitor(const AudioMonitor&) = delete;
  AudioMonitor& operator=(const AudioMonitor&) = delete;

  // Forgets what was recorded so far.
  void Clear();

  // The time of the first loud sample in a block arriving from now on;
  // nullopt on timeout.
  std::optional<Clock::time_point> WaitForSound(std::chrono::milliseconds timeout);

  // Waits until the recording has been quiet for `quiet` and returns when the
  // sound stopped (the end of the last loud sample recorded, or the start of
  // the recording when nothing was loud); nullopt on timeout.
  std::optional<Clock::time_point> WaitForSilence(std::chrono::milliseconds quiet,
                                                  std::chrono::milliseconds timeout);

  // Stretches of sound in what was recorded; gaps shorter than `min_gap`
  // do not split a stretch.
  std::vector<Segment> SoundSegments(std::chrono::milliseconds min_gap) const;

  // The fundamental frequency of the voiced sound between the two times, by
  // autocorrelation (median over short frames); 0 when nothing is voiced.
  double EstimatePitchHz(Clock::time_point from, Clock::time_point to) const;

  // Root mean square of the samples between the two times (0..32768).
  double Rms(Clock::time_point from, Clock::time_point to) const;

  std::vector<std::int16_t> Samples() const;

 private:
  // A received block: its first sample's index in samples_ and its time.
  struct Block {
    std::size_t first;
    Clock::time_point begin;
  };

  static void OnContextState(pa_context* context, void* self);
  static void OnStreamState(pa_stream* stream, void* self);
  static void OnRead(pa_stream* stream, std::size_t bytes, void* self);
  void Append(const std::uint8_t* data, std::size_t bytes, Clock::time_point arrival);
  void Shutdown();

  // These need mutex_ held.
  Clock::time_point TimeOfLocked(std::size_t index) const;
  std::size_t IndexAtLocked(Clock::time_point time) const;
  Clock::time_point RecordedUntilLocked() const;
  std::optional<std::size_t> LastLoudLocked() const;

  pa_threaded_mainloop* mainloop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<std::int16_t> samples_;
  std::vector<Block> blocks_;
  std::uint64_t blocks_received_ = 0;  // never reset, so waits can count from "now"
  std::uint64_t cleared_blocks_ = 0;   // blocks_received_ at the last Clear
  std::optional<std::uint8_t> odd_byte_;
};

}  // namespace voxmere
