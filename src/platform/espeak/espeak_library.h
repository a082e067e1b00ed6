// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/espeak/espeak_parameters.h"
#include "platform/espeak/espeak_voice.h"

namespace voxmere {

// Where synthesised samples go; called on the synthesis thread.
class SynthTarget {
 public:
  virtual ~SynthTarget() = default;
  // False when the text was dropped meanwhile: its synthesis stops.
  virtual bool Wanted(std::uint64_t text_id) = 0;
  // Called between the pieces of a text, outside espeak-ng: waits while much
  // sound is queued; false when the text was dropped meanwhile.
  virtual bool WaitForRoom(std::uint64_t text_id) = 0;
  // 16-bit mono samples at the library's sample rate; false stops synthesis.
  virtual bool Samples(std::uint64_t text_id, const std::int16_t* samples, std::size_t count) = 0;
  // The end of a text's synthesis: all of it, or stopped or failed early.
  virtual void Finished(std::uint64_t text_id, bool completed) = 0;
};

// espeak-ng for this process. espeak-ng is one global synthesiser, so it is
// started once, handing back samples instead of playing them, its voices are
// read once, and one thread synthesises every engine's texts in the order
// they were queued.
class EspeakLibrary {
 public:
  struct Job {
    std::shared_ptr<SynthTarget> target;
    std::uint64_t text_id = 0;
    QByteArray voice_identifier;
    EspeakParameters parameters;
    QByteArray text;  // UTF-8, up to its first zero byte (when it has one)
  };

  // The running library, shared while anyone holds it; throws
  // voxmere::Exception when espeak-ng cannot start.
  static std::shared_ptr<EspeakLibrary> Instance();
  ~EspeakLibrary();
  EspeakLibrary(const EspeakLibrary&) = delete;
  EspeakLibrary& operator=(const EspeakLibrary&) = delete;

  int SampleRate() const { return sample_rate_; }
  const QString& Version() const { return version_; }
  // Every voice that can speak: the language voices, and the MBROLA voices
  // whose voice database is installed when the mbrola program is.
  const QList<EspeakVoice>& Voices() const { return voices_; }

  // Queues a text behind everything queued before; returns at once.
  void Submit(Job job);

 private:
  EspeakLibrary(int sample_rate, QString version, QList<EspeakVoice> voices);
  void Run();
  void Synthesise(const Job& job);
  bool SynthesisePiece(const Job& job, QByteArrayView text, bool ends_sentence);

  const int sample_rate_;
  const QString version_;
  const QList<EspeakVoice> voices_;

  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace voxmere
