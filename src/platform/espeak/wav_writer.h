// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace voxmere {

// Writes mono 16-bit PCM into a RIFF WAVE file. The header's sizes are put
// right by Flush, so the file is a complete WAV file after every Flush and
// more samples may follow.
class WavWriter {
 public:
  // Creates (or empties) the file; throws voxmere::Exception when it cannot.
  WavWriter(const QString& file_name, int sample_rate);
  ~WavWriter();  // flushes
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  // False when the file could not be written.
  bool Append(const std::int16_t* samples, std::size_t count);
  bool Flush();

  std::uint64_t SampleCount() const { return sample_count_; }

  static constexpr int kHeaderSize = 44;

 private:
  QFile file_;
  int sample_rate_;
  std::uint64_t sample_count_ = 0;
};

}  // namespace voxmere
