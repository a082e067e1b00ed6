// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/audio_monitor.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace voxmere {
namespace {

using std::chrono::duration_cast;
using std::chrono::nanoseconds;

// About 5 ms of audio per fragment: small enough to time the first sample.
constexpr std::uint32_t kFragmentBytes = AudioMonitor::kSampleRate / 200 * 2;

AudioMonitor::Clock::duration SamplesDuration(std::size_t count) {
  return duration_cast<AudioMonitor::Clock::duration>(
      nanoseconds(static_cast<std::int64_t>(count) * 1'000'000'000 / AudioMonitor::kSampleRate));
}

bool IsLoud(std::int16_t sample) {
  return std::abs(static_cast<int>(sample)) >= AudioMonitor::kLoudSample;
}

std::string MonitorSource() {
  const char* sink = std::getenv("VOXMERE_TEST_SINK");
  if (sink == nullptr || *sink == '\0') return "@DEFAULT_MONITOR@";
  return std::string(sink) + ".monitor";
}

// The period of one frame by normalised autocorrelation, in samples; 0 when
// the frame shows no clear period between 50 and 500 Hz.
double FramePeriod(const std::int16_t* frame, std::size_t size) {
  const std::size_t min_lag = AudioMonitor::kSampleRate / 500;
  const std::size_t max_lag = AudioMonitor::kSampleRate / 50;
  if (size < 2 * max_lag) return 0;
  std::vector<double> score(max_lag + 2, 0.0);
  double best = 0;
  for (std::size_t lag = min_lag; lag <= max_lag + 1; ++lag) {
    double cross = 0, head = 0, tail = 0;
    for (std::size_t i = 0; i + lag < size; ++i) {
      const double a = frame[i], b = frame[i + lag];
      cross += a * b;
      head += a * a;
      tail += b * b;
    }
    score[lag] = (head > 0 && tail > 0) ? cross / std::sqrt(head * tail) : 0;
    if (lag <= max_lag) best = std::max(best, score[lag]);
  }
  if (best < 0.5) return 0;
  // The first local peak close to the best one: longer lags repeat the period
  // at multiples and would halve the pitch.
  for (std::size_t lag = min_lag + 1; lag <= max_lag; ++lag) {
    if (score[lag] >= 0.9 * best && score[lag] >= score[lag - 1] && score[lag] >= score[lag + 1]) {
      const double left = score[lag - 1], mid = score[lag], right = score[lag + 1];
      const double curve = left - 2 * mid + right;
      const double shift = curve != 0 ? 0.5 * (left - right) / curve : 0;
      return static_cast<double>(lag) + std::clamp(shift, -0.5, 0.5);
    }
  }
  return 0;
}

}  // namespace

AudioMonitor::AudioMonitor() {
  mainloop_ = pa_threaded_mainloop_new();
  if (mainloop_ == nullptr) throw std::runtime_error("AudioMonitor: no PulseAudio main loop");
  context_ = pa_context_new(pa_threaded_mainloop_get_api(mainloop_), "voxmere-test-monitor");
  pa_context_set_state_callback(context_, &AudioMonitor::OnContextState, this);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
      pa_threaded_mainloop_start(mainloop_) < 0) {
    Shutdown();
    throw std::runtime_error("AudioMonitor: cannot reach the audio server");
  }
  pa_threaded_mainloop_lock(mainloop_);
  std::string failure;
  for (;;) {
    const pa_context_state_t state = pa_context_get_state(context_);
    if (state == PA_CONTEXT_READY) break;
    if (!PA_CONTEXT_IS_GOOD(state)) {
      failure = pa_strerror(pa_context_errno(context_));
      break;
    }
    pa_threaded_mainloop_wait(mainloop_);
  }
  if (failure.empty()) {
    const pa_sample_spec format{PA_SAMPLE_S16LE, kSampleRate, 1};
    stream_ = pa_stream_new(context_, "monitor", &format, nullptr);
    pa_stream_set_state_callback(stream_, &AudioMonitor::OnStreamState, this);
    pa_stream_set_read_callback(stream_, &AudioMonitor::OnRead, this);
    pa_buffer_attr attr;
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = attr.prebuf = attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = kFragmentBytes;
    const std::string source = MonitorSource();
    if (pa_stream_connect_record(stream_, source.c_str(), &attr, PA_STREAM_ADJUST_LATENCY) < 0) {
      failure = pa_strerror(pa_context_errno(context_));
    }
    while (failure.empty()) {
      const pa_stream_state_t state = pa_stream_get_state(stream_);
      if (state == PA_STREAM_READY) break;
      if (!PA_STREAM_IS_GOOD(state)) {
        failure = pa_strerror(pa_context_errno(context_));
        break;
      }
      pa_threaded_mainloop_wait(mainloop_);
    }
  }
  pa_threaded_mainloop_unlock(mainloop_);
  if (!failure.empty()) {
    Shutdown();
    throw std::runtime_error("AudioMonitor: cannot record the monitor: " + failure);
  }
  // Let the first fragments arrive so that a measurement starts on a running
  // recording.
  std::unique_lock lock(mutex_);
  arrived_.wait_for(lock, std::chrono::seconds(2), [this] { return blocks_received_ >= 2; });
}

AudioMonitor::~AudioMonitor() { Shutdown(); }

void AudioMonitor::Shutdown() {
  if (mainloop_ == nullptr) return;
  pa_threaded_mainloop_stop(mainloop_);
  if (stream_ != nullptr) {
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
  }
  if (context_ != nullptr) {
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
  }
  pa_threaded_mainloop_free(mainloop_);
  mainloop_ = nullptr;
}

void AudioMonitor::OnContextState(pa_context*, void* self) {
  pa_threaded_mainloop_signal(static_cast<AudioMonitor*>(self)->mainloop_, 0);
}

void AudioMonitor::OnStreamState(pa_stream*, void* self) {
  pa_threaded_mainloop_signal(static_cast<AudioMonitor*>(self)->mainloop_, 0);
}

void AudioMonitor::OnRead(pa_stream* stream, std::size_t, void* self) {
  const Clock::time_point arrival = Clock::now();
  auto* monitor = static_cast<AudioMonitor*>(self);
  while (pa_stream_readable_size(stream) > 0) {
    const void* data = nullptr;
    std::size_t bytes = 0;
    if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) break;
    if (data == nullptr) {
      // A hole in the recording: keep the time line with silence.
      const std::vector<std::uint8_t> zeros(bytes, 0);
      monitor->Append(zeros.data(), bytes, arrival);
    } else {
      monitor->Append(static_cast<const std::uint8_t*>(data), bytes, arrival);
    }
    pa_stream_drop(stream);
  }
}

void AudioMonitor::Append(const std::uint8_t* data, std::size_t bytes, Clock::time_point arrival) {
  std::vector<std::int16_t> fresh;
  fresh.reserve(bytes / 2 + 1);
  std::size_t at = 0;
  {
    std::lock_guard lock(mutex_);
    if (odd_byte_ && bytes > 0) {
      fresh.push_back(static_cast<std::int16_t>(*odd_byte_ | (data[0] << 8)));
      odd_byte_.reset();
      at = 1;
    }
  }
  for (; at + 1 < bytes; at += 2) {
    fresh.push_back(static_cast<std::int16_t>(data[at] | (data[at + 1] << 8)));
  }
  std::lock_guard lock(mutex_);
  if (at < bytes) odd_byte_ = data[at];
  if (!fresh.empty()) {
    blocks_.push_back({samples_.size(), arrival - SamplesDuration(fresh.size())});
    samples_.insert(samples_.end(), fresh.begin(), fresh.end());
    ++blocks_received_;
  }
  arrived_.notify_all();
}

void AudioMonitor::Clear() {
  std::lock_guard lock(mutex_);
  samples_.clear();
  blocks_.clear();
  cleared_blocks_ = blocks_received_;
}

AudioMonitor::Clock::time_point AudioMonitor::TimeOfLocked(std::size_t index) const {
  if (blocks_.empty()) return Clock::now();
  auto next = std::upper_bound(blocks_.begin(), blocks_.end(), index,
                               [](std::size_t i, const Block& b) { return i < b.first; });
  const Block& block = next == blocks_.begin() ? blocks_.front() : *(next - 1);
  return block.begin + SamplesDuration(index - block.first);
}

std::size_t AudioMonitor::IndexAtLocked(Clock::time_point time) const {
  auto next = std::upper_bound(blocks_.begin(), blocks_.end(), time,
                               [](Clock::time_point t, const Block& b) { return t < b.begin; });
  if (next == blocks_.begin()) return 0;
  const Block& block = *(next - 1);
  const std::size_t end = next == blocks_.end() ? samples_.size() : next->first;
  const auto offset = duration_cast<nanoseconds>(time - block.begin).count();
  const std::size_t index =
      block.first + static_cast<std::size_t>(offset * kSampleRate / 1'000'000'000);
  return std::min(index, end);
}

AudioMonitor::Clock::time_point AudioMonitor::RecordedUntilLocked() const {
  if (blocks_.empty()) return Clock::time_point{};
  return blocks_.back().begin + SamplesDuration(samples_.size() - blocks_.back().first);
}

std::optional<std::size_t> AudioMonitor::LastLoudLocked() const {
  for (std::size_t i = samples_.size(); i > 0; --i) {
    if (IsLoud(samples_[i - 1])) return i - 1;
  }
  return std::nullopt;
}

std::optional<AudioMonitor::Clock::time_point> AudioMonitor::WaitForSound(
    std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  std::unique_lock lock(mutex_);
  std::uint64_t next_block = blocks_received_;  // only blocks arriving from now on
  for (;;) {
    // Blocks are numbered from the last Clear; an interleaved Clear restarts.
    next_block = std::max(next_block, cleared_blocks_);
    for (; next_block < blocks_received_; ++next_block) {
      const std::size_t b = static_cast<std::size_t>(next_block - cleared_blocks_);
      const std::size_t end = b + 1 < blocks_.size() ? blocks_[b + 1].first : samples_.size();
      for (std::size_t i = blocks_[b].first; i < end; ++i) {
        if (IsLoud(samples_[i])) return TimeOfLocked(i);
      }
    }
    if (arrived_.wait_until(lock, deadline) == std::cv_status::timeout &&
        next_block == blocks_received_) {
      return std::nullopt;
    }
  }
}

std::optional<AudioMonitor::Clock::time_point> AudioMonitor::WaitForSilence(
    std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!blocks_.empty()) {
      const std::optional<std::size_t> last = LastLoudLocked();
      const Clock::time_point stopped = last ? TimeOfLocked(*last + 1) : blocks_.front().begin;
      // Quiet is judged on the recording's own time line, which keeps
      // running while the sink plays silence.
      if (RecordedUntilLocked() - stopped >= quiet) return stopped;
    }
    if (arrived_.wait_until(lock, deadline) == std::cv_status::timeout) return std::nullopt;
  }
}

std::vector<AudioMonitor::Segment> AudioMonitor::SoundSegments(
    std::chrono::milliseconds min_gap) const {
  std::lock_guard lock(mutex_);
  const auto gap_samples = static_cast<std::size_t>(min_gap.count() * kSampleRate / 1000);
  std::vector<Segment> segments;
  std::optional<std::size_t> begin, last;
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    if (!IsLoud(samples_[i])) continue;
    if (last && i - *last > gap_samples) {
      segments.push_back({TimeOfLocked(*begin), TimeOfLocked(*last + 1)});
      begin.reset();
    }
    if (!begin) begin = i;
    last = i;
  }
  if (begin) segments.push_back({TimeOfLocked(*begin), TimeOfLocked(*last + 1)});
  return segments;
}

double AudioMonitor::EstimatePitchHz(Clock::time_point from, Clock::time_point to) const {
  std::lock_guard lock(mutex_);
  const std::size_t first = IndexAtLocked(from), end = IndexAtLocked(to);
  constexpr std::size_t kFrame = kSampleRate / 25;  // 40 ms
  constexpr std::size_t kHop = kFrame / 2;
  std::vector<double> pitches;
  for (std::size_t at = first; at + kFrame <= end; at += kHop) {
    double energy = 0;
    for (std::size_t i = at; i < at + kFrame; ++i) energy += double(samples_[i]) * samples_[i];
    if (std::sqrt(energy / kFrame) < kLoudSample) continue;  // unvoiced or silent
    const double period = FramePeriod(&samples_[at], kFrame);
    if (period > 0) pitches.push_back(kSampleRate / period);
  }
  if (pitches.empty()) return 0;
  std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
  return pitches[pitches.size() / 2];
}

double AudioMonitor::Rms(Clock::time_point from, Clock::time_point to) const {
  std::lock_guard lock(mutex_);
  const std::size_t first = IndexAtLocked(from), end = IndexAtLocked(to);
  if (end <= first) return 0;
  double energy = 0;
  for (std::size_t i = first; i < end; ++i) energy += double(samples_[i]) * samples_[i];
  return std::sqrt(energy / double(end - first));
}

std::vector<std::int16_t> AudioMonitor::Samples() const {
  std::lock_guard lock(mutex_);
  return samples_;
}

}  // namespace voxmere
