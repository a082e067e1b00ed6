// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/espeak/espeak_audio_destination.h"
#include "platform/espeak/espeak_library.h"
#include "platform/espeak/pulse_player.h"
#include "platform/tts_engine.h"

namespace voxmere {

// The part of an engine that its threads share: it takes the synthesised
// samples (to the player or the file), numbers the texts, drops them on a
// reset, and turns "sound started" and "sound ended" into AudioStart and
// AudioStop on the sinks. Each started text gets its own pair; a reset ends
// the text that is sounding with its AudioStop. Every sink call is posted to
// the thread of `context` (the user-interface thread), never made inside a
// call into the engine.
class EspeakEngineCore : public SynthTarget,
                         public PulsePlayer::Listener,
                         public std::enable_shared_from_this<EspeakEngineCore> {
 public:
  // Sound device: `connector` set, `file` null; a file: the other way round.
  EspeakEngineCore(QObject* context, int sample_rate, std::shared_ptr<PulseConnector> connector,
                   std::shared_ptr<EspeakFileOutput> file);
  ~EspeakEngineCore() override;

  // The user-interface thread.
  std::uint64_t AddText(std::shared_ptr<TtsBufNotifySink> buffer_sink);
  void Reset();
  // The engine is going: nothing more is played or reported.
  void Close();
  std::uint32_t Register(std::shared_ptr<TtsNotifySink> sink);
  bool UnRegister(std::uint32_t key);

  bool Wanted(std::uint64_t text_id) override;
  bool WaitForRoom(std::uint64_t text_id) override;
  bool Samples(std::uint64_t text_id, const std::int16_t* samples, std::size_t count) override;
  void Finished(std::uint64_t text_id, bool completed) override;

  void PlaybackStarted(std::uint64_t text_id) override { Started(text_id); }
  void PlaybackStopped(std::uint64_t text_id) override { Stopped(text_id); }

 private:
  enum class Event { kStart, kStop };

  void Started(std::uint64_t text_id);
  void Stopped(std::uint64_t text_id);
  void PostLocked(Event event, std::uint64_t text_id);
  void Deliver(Event event, std::uint64_t text_id, std::uint64_t time_stamp);

  const std::shared_ptr<EspeakFileOutput> file_;
  std::atomic<bool> closed_ = false;
  std::atomic<std::uint64_t> dropped_through_ = 0;

  std::mutex state_mutex_;  // guards context_ and sounding_
  QObject* context_;
  std::uint64_t sounding_ = 0;  // the text whose AudioStart was posted, 0 for none

  std::uint64_t file_text_ = 0;  // synthesis thread only: the text being written

  // The user-interface thread only.
  std::uint64_t last_text_ = 0;
  std::uint32_t last_key_ = 0;
  std::map<std::uint32_t, std::shared_ptr<TtsNotifySink>> sinks_;
  std::map<std::uint64_t, std::shared_ptr<TtsBufNotifySink>> buffer_sinks_;

  std::unique_ptr<PulsePlayer> player_;  // last: goes first
};

}  // namespace voxmere
