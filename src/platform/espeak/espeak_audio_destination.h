// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/espeak/wav_writer.h"
#include "platform/tts_engine.h"

namespace voxmere {

// A WAV file that engines write into from the synthesis thread while the
// user-interface thread opens and flushes it.
class EspeakFileOutput {
 public:
  explicit EspeakFileOutput(int sample_rate) : sample_rate_(sample_rate) {}
  // Creates (or empties) the file, closing any earlier one.
  TtsResult Open(const QString& file_name);
  // False when no file is open or it cannot be written.
  bool Append(const std::int16_t* samples, std::size_t count);
  TtsResult Flush();

 private:
  const int sample_rate_;
  std::mutex mutex_;
  std::unique_ptr<WavWriter> writer_;
};

// The sound device: the audio server's default output.
class EspeakSoundDevice : public TtsAudioDestination {
 public:
  TtsResult SetFile(const QString& file_name, std::uint32_t flags) override;
  TtsResult Flush() override;
};

// A WAV file; needs no audio server.
class EspeakFileDestination : public TtsAudioDestination {
 public:
  explicit EspeakFileDestination(int sample_rate)
      : output_(std::make_shared<EspeakFileOutput>(sample_rate)) {}
  // Flag 1 creates the file; without it an existing file is required.
  TtsResult SetFile(const QString& file_name, std::uint32_t flags) override;
  TtsResult Flush() override { return output_->Flush(); }

  const std::shared_ptr<EspeakFileOutput>& Output() const { return output_; }

 private:
  std::shared_ptr<EspeakFileOutput> output_;
};

}  // namespace voxmere
