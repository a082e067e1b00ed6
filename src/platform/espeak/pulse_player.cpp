// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/pulse_player.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

#include "platform/espeak/espeak_log.h"

namespace voxmere {
namespace {

using Clock = PulseConnection::Clock;
using std::chrono::milliseconds;

// The server-side buffer: short, so that a new text is heard at once and a
// reset needs to throw little away; synthesis runs far ahead of it anyway.
constexpr int kTargetMilliseconds = 50;
constexpr int kPrebufferMilliseconds = 10;
// Synthesis waits before the next piece of a text while this much is queued.
constexpr int kQueueSeconds = 4;
constexpr milliseconds kOpenTimeout(2000);
// A stream that takes nothing for this long is given up.
constexpr milliseconds kStallTimeout(30000);

std::uint32_t Bytes(int sample_rate, int milliseconds) {
  return static_cast<std::uint32_t>(sample_rate / 1000 * milliseconds * 2);
}

}  // namespace

PulsePlayer::PulsePlayer(std::shared_ptr<PulseConnector> connector, int sample_rate,
                         Listener* listener)
    : connector_(std::move(connector)), sample_rate_(sample_rate), listener_(listener) {}

PulsePlayer::~PulsePlayer() {
  std::shared_ptr<PulseConnection> connection;
  {
    std::lock_guard lock(setup_mutex_);
    connection = connection_;
  }
  if (!connection) return;
  PulseLock lock(*connection);
  if (drain_ != nullptr) {
    pa_operation_cancel(drain_);
    pa_operation_unref(drain_);
    drain_ = nullptr;
  }
  if (stream_ != nullptr) {
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_set_started_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
  }
}

std::shared_ptr<PulseConnection> PulsePlayer::Connection() {
  {
    std::lock_guard lock(setup_mutex_);
    if (connection_ || connect_failed_) return connection_;
  }
  std::shared_ptr<PulseConnection> connection = connector_->Get();
  if (!connection || !OpenStream(connection)) {
    // The connector has said why when there is no server at all.
    qCWarning(EspeakLog, "espeak-ng speech is not played: %s",
              connection ? "the audio server opened no playback stream" : "no audio server");
    connect_failed_ = true;
    return nullptr;
  }
  std::lock_guard lock(setup_mutex_);
  connection_ = connection;
  return connection_;
}

bool PulsePlayer::OpenStream(const std::shared_ptr<PulseConnection>& connection) {
  {
    PulseLock lock(*connection);
    const pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(sample_rate_), 1};
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "a11y");
    stream_ =
        pa_stream_new_with_proplist(connection->Context(), "Speech", &format, nullptr, properties);
    pa_proplist_free(properties);
    if (stream_ == nullptr) return false;
    pulse_ = connection.get();
    pa_stream_set_state_callback(
        stream_, [](pa_stream*, void* self) { static_cast<PulsePlayer*>(self)->StateChanged(); },
        this);
    pa_stream_set_write_callback(
        stream_,
        [](pa_stream*, std::size_t, void* self) { static_cast<PulsePlayer*>(self)->Pump(); }, this);
    pa_stream_set_started_callback(
        stream_, [](pa_stream*, void* self) { static_cast<PulsePlayer*>(self)->Started(); }, this);
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = Bytes(sample_rate_, kTargetMilliseconds);
    attributes.prebuf = Bytes(sample_rate_, kPrebufferMilliseconds);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(-1);
    if (pa_stream_connect_playback(stream_, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY, nullptr,
                                   nullptr) < 0) {
      pa_stream_unref(stream_);
      stream_ = nullptr;
      return false;
    }
  }
  pa_stream* stream = stream_;
  connection->WaitUntil(
      [stream] {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
      },
      Clock::now() + kOpenTimeout);
  PulseLock lock(*connection);
  if (pa_stream_get_state(stream_) == PA_STREAM_READY) return true;
  pa_stream_set_state_callback(stream_, nullptr, nullptr);
  pa_stream_set_write_callback(stream_, nullptr, nullptr);
  pa_stream_set_started_callback(stream_, nullptr, nullptr);
  pa_stream_disconnect(stream_);
  pa_stream_unref(stream_);
  stream_ = nullptr;
  return false;
}

bool PulsePlayer::DroppedLocked(std::uint64_t text_id) const {
  return text_id <= dropped_through_.load();
}

bool PulsePlayer::Append(std::uint64_t text_id, const std::int16_t* samples, std::size_t count) {
  if (DroppedLocked(text_id)) return false;
  const std::shared_ptr<PulseConnection> connection = Connection();
  if (!connection) return false;
  PulseLock lock(*connection);
  if (DroppedLocked(text_id) || pa_stream_get_state(stream_) != PA_STREAM_READY) return false;
  if (texts_.empty() || texts_.back().id != text_id) {
    texts_.emplace_back();
    texts_.back().id = text_id;
  }
  texts_.back().chunks.emplace_back(samples, samples + count);
  queued_samples_ += count;
  Pump();
  return true;
}

bool PulsePlayer::WaitForRoom(std::uint64_t text_id) {
  if (DroppedLocked(text_id)) return false;
  const std::shared_ptr<PulseConnection> connection = Connection();
  if (!connection) return false;
  const std::size_t high = static_cast<std::size_t>(sample_rate_) * kQueueSeconds;
  pa_stream* stream = stream_;  // set before connection_, never changed after
  const auto room = [&] {
    return queued_samples_ < high || DroppedLocked(text_id) ||
           pa_stream_get_state(stream) != PA_STREAM_READY;
  };
  const bool moving = connection->WaitUntil(room, Clock::now() + kStallTimeout);
  PulseLock lock(*connection);
  if (!moving) {
    qCWarning(EspeakLog, "A text was given up: the audio server took no sound for %lld s",
              static_cast<long long>(
                  std::chrono::duration_cast<std::chrono::seconds>(kStallTimeout).count()));
  }
  return moving && !DroppedLocked(text_id) && pa_stream_get_state(stream) == PA_STREAM_READY;
}

void PulsePlayer::Finish(std::uint64_t text_id) {
  std::shared_ptr<PulseConnection> connection;
  {
    std::lock_guard lock(setup_mutex_);
    connection = connection_;
  }
  if (!connection) return;
  PulseLock lock(*connection);
  if (DroppedLocked(text_id)) return;
  for (Text& text : texts_) {
    if (text.id == text_id) text.finished = true;
  }
  Pump();
}

void PulsePlayer::DropThrough(std::uint64_t text_id) {
  std::uint64_t dropped = dropped_through_.load();
  while (dropped < text_id && !dropped_through_.compare_exchange_weak(dropped, text_id)) {
  }
  std::shared_ptr<PulseConnection> connection;
  {
    std::lock_guard lock(setup_mutex_);
    connection = connection_;
  }
  if (!connection) return;
  PulseLock lock(*connection);
  bool sounding = false;
  while (!texts_.empty() && texts_.front().id <= text_id) {
    sounding = sounding || texts_.front().written;
    for (const auto& chunk : texts_.front().chunks) queued_samples_ -= chunk.size();
    queued_samples_ += texts_.front().offset;
    texts_.pop_front();
  }
  if (drain_ != nullptr) {
    pa_operation_cancel(drain_);
    pa_operation_unref(drain_);
    drain_ = nullptr;
  }
  if (sounding && pa_stream_get_state(stream_) == PA_STREAM_READY) {
    // The server throws away what it holds and rewinds the sink.
    if (pa_operation* flush = pa_stream_flush(stream_, nullptr, nullptr)) {
      pa_operation_unref(flush);
    }
  }
  connection->Changed();  // a waiting Append sees its text dropped
  Pump();
}

void PulsePlayer::Pump() {
  if (stream_ == nullptr || pa_stream_get_state(stream_) != PA_STREAM_READY) return;
  bool wrote = false;
  // A synthesis waiting for room may go on once something was written.
  struct Wake {
    PulseConnection* pulse;
    const bool& wrote;
    ~Wake() {
      if (wrote) pulse->Changed();
    }
  } wake{pulse_, wrote};
  while (!texts_.empty() && drain_ == nullptr) {
    Text& text = texts_.front();
    while (!text.chunks.empty()) {
      const std::size_t writable = pa_stream_writable_size(stream_);
      if (writable == static_cast<std::size_t>(-1) || writable < 2) return;
      const std::vector<std::int16_t>& chunk = text.chunks.front();
      const std::size_t count = std::min(chunk.size() - text.offset, writable / 2);
      if (pa_stream_write(stream_, chunk.data() + text.offset, count * 2, nullptr, 0,
                          PA_SEEK_RELATIVE) < 0) {
        qCWarning(EspeakLog, "Writing sound to the audio server failed: %s",
                  pa_strerror(pa_context_errno(pa_stream_get_context(stream_))));
        return;
      }
      text.written = true;
      text.offset += count;
      wrote = true;
      queued_samples_ -= count;
      if (text.offset == chunk.size()) {
        text.chunks.pop_front();
        text.offset = 0;
      }
    }
    if (!text.finished) return;
    if (!text.written) {
      texts_.pop_front();
      continue;
    }
    // The next text starts only when this one has played out, so each text's
    // end is known.
    drain_ = pa_stream_drain(
        stream_,
        [](pa_stream*, int success, void* self) {
          static_cast<PulsePlayer*>(self)->Drained(success != 0);
        },
        this);
    if (drain_ == nullptr) {
      qCDebug(EspeakLog, "The audio server did not take the end of a text; it ends at once");
      Drained(false);
    }
    return;
  }
}

void PulsePlayer::Drained(bool) {
  if (drain_ != nullptr) {
    pa_operation_unref(drain_);
    drain_ = nullptr;
  }
  if (!texts_.empty()) {
    const Text& text = texts_.front();
    // A start the server did not report still makes a pair.
    if (!text.started) listener_->PlaybackStarted(text.id);
    listener_->PlaybackStopped(text.id);
    texts_.pop_front();
  }
  Pump();
}

void PulsePlayer::StateChanged() {
  pulse_->Changed();
  if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream_))) return;
  // The audio server went away: what was sounding has ended, and nothing
  // queued will play.
  qCWarning(EspeakLog, "The audio stream failed, speech stops: %s",
            pa_strerror(pa_context_errno(pa_stream_get_context(stream_))));
  if (!texts_.empty() && texts_.front().written) {
    if (!texts_.front().started) listener_->PlaybackStarted(texts_.front().id);
    listener_->PlaybackStopped(texts_.front().id);
  }
  texts_.clear();
  queued_samples_ = 0;
  if (drain_ != nullptr) {
    pa_operation_cancel(drain_);
    pa_operation_unref(drain_);
    drain_ = nullptr;
  }
}

void PulsePlayer::Started() {
  if (texts_.empty()) return;
  Text& text = texts_.front();
  if (text.written && !text.started) {
    text.started = true;
    listener_->PlaybackStarted(text.id);
  }
}

}  // namespace voxmere
