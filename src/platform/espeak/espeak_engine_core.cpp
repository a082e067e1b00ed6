// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_engine_core.h"

#include <QMetaObject>
#include <chrono>
#include <limits>
#include <vector>

namespace voxmere {
namespace {

// Event times in 100 ns units of the steady clock.
std::uint64_t TimeStamp() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100);
}

}  // namespace

EspeakEngineCore::EspeakEngineCore(QObject* context, int sample_rate,
                                   std::shared_ptr<PulseConnector> connector,
                                   std::shared_ptr<EspeakFileOutput> file)
    : file_(std::move(file)), context_(context) {
  if (connector) player_ = std::make_unique<PulsePlayer>(std::move(connector), sample_rate, this);
}

EspeakEngineCore::~EspeakEngineCore() { player_.reset(); }

std::uint64_t EspeakEngineCore::AddText(std::shared_ptr<TtsBufNotifySink> buffer_sink) {
  ++last_text_;
  if (buffer_sink) buffer_sinks_[last_text_] = std::move(buffer_sink);
  return last_text_;
}

void EspeakEngineCore::Reset() {
  dropped_through_ = last_text_;
  std::uint64_t sounding = 0;
  {
    std::lock_guard lock(state_mutex_);
    sounding = sounding_;
    if (sounding_ != 0) PostLocked(Event::kStop, sounding_);
    sounding_ = 0;
  }
  // Texts that never started have nothing more to report.
  for (auto it = buffer_sinks_.begin(); it != buffer_sinks_.end();) {
    it = it->first != sounding ? buffer_sinks_.erase(it) : std::next(it);
  }
  if (player_) player_->DropThrough(last_text_);
}

void EspeakEngineCore::Close() {
  closed_ = true;
  dropped_through_ = std::numeric_limits<std::uint64_t>::max();
  {
    std::lock_guard lock(state_mutex_);
    context_ = nullptr;
  }
  if (player_) player_->DropThrough(std::numeric_limits<std::uint64_t>::max());
}

std::uint32_t EspeakEngineCore::Register(std::shared_ptr<TtsNotifySink> sink) {
  sinks_[++last_key_] = std::move(sink);
  return last_key_;
}

bool EspeakEngineCore::UnRegister(std::uint32_t key) { return sinks_.erase(key) > 0; }

bool EspeakEngineCore::Wanted(std::uint64_t text_id) {
  return !closed_ && text_id > dropped_through_.load();
}

bool EspeakEngineCore::WaitForRoom(std::uint64_t text_id) {
  // A file takes everything at once.
  if (player_ && !player_->WaitForRoom(text_id)) return false;
  return Wanted(text_id);
}

bool EspeakEngineCore::Samples(std::uint64_t text_id, const std::int16_t* samples,
                               std::size_t count) {
  if (!Wanted(text_id)) return false;
  if (player_) return player_->Append(text_id, samples, count);
  if (!file_ || !file_->Append(samples, count)) return false;
  if (file_text_ != text_id) {
    file_text_ = text_id;
    Started(text_id);
  }
  return true;
}

void EspeakEngineCore::Finished(std::uint64_t text_id, bool) {
  // Whatever was synthesised plays out, or is in the file now.
  if (player_) {
    player_->Finish(text_id);
  } else {
    Stopped(text_id);
  }
}

void EspeakEngineCore::Started(std::uint64_t text_id) {
  std::lock_guard lock(state_mutex_);
  if (text_id <= dropped_through_.load() || sounding_ == text_id) return;
  if (sounding_ != 0) PostLocked(Event::kStop, sounding_);
  sounding_ = text_id;
  PostLocked(Event::kStart, text_id);
}

void EspeakEngineCore::Stopped(std::uint64_t text_id) {
  std::lock_guard lock(state_mutex_);
  if (sounding_ != text_id) return;
  sounding_ = 0;
  PostLocked(Event::kStop, text_id);
}

void EspeakEngineCore::PostLocked(Event event, std::uint64_t text_id) {
  if (context_ == nullptr) return;
  const std::uint64_t time_stamp = TimeStamp();
  QMetaObject::invokeMethod(
      context_,
      [weak = weak_from_this(), event, text_id, time_stamp] {
        if (const std::shared_ptr<EspeakEngineCore> core = weak.lock()) {
          core->Deliver(event, text_id, time_stamp);
        }
      },
      Qt::QueuedConnection);
}

void EspeakEngineCore::Deliver(Event event, std::uint64_t text_id, std::uint64_t time_stamp) {
  if (closed_) return;
  // A sink may unregister, or register another, while it is called.
  std::vector<std::shared_ptr<TtsNotifySink>> sinks;
  for (const auto& [key, sink] : sinks_) sinks.push_back(sink);
  std::shared_ptr<TtsBufNotifySink> buffer_sink;
  if (const auto found = buffer_sinks_.find(text_id); found != buffer_sinks_.end()) {
    buffer_sink = found->second;
    if (event == Event::kStop) buffer_sinks_.erase(found);
  }
  for (const std::shared_ptr<TtsNotifySink>& sink : sinks) {
    if (event == Event::kStart) {
      sink->AudioStart(time_stamp);
    } else {
      sink->AudioStop(time_stamp);
    }
  }
  if (buffer_sink) {
    if (event == Event::kStart) {
      buffer_sink->TextDataStarted(time_stamp);
    } else {
      buffer_sink->TextDataDone(time_stamp, 0);
    }
  }
}

}  // namespace voxmere
