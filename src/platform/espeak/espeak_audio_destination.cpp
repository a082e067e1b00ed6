// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_audio_destination.h"

#include <QFileInfo>

#include "platform/exception.h"

namespace voxmere {

TtsResult EspeakFileOutput::Open(const QString& file_name) {
  std::lock_guard lock(mutex_);
  writer_.reset();
  try {
    writer_ = std::make_unique<WavWriter>(file_name, sample_rate_);
  } catch (const Exception& e) {
    return TtsResult::Failed(e.Message());
  }
  return TtsResult::Ok();
}

bool EspeakFileOutput::Append(const std::int16_t* samples, std::size_t count) {
  std::lock_guard lock(mutex_);
  return writer_ && writer_->Append(samples, count);
}

TtsResult EspeakFileOutput::Flush() {
  std::lock_guard lock(mutex_);
  if (!writer_) return TtsResult::Failed(QStringLiteral("No file is open"));
  if (!writer_->Flush()) return TtsResult::Failed(QStringLiteral("Cannot write the file"));
  return TtsResult::Ok();
}

TtsResult EspeakSoundDevice::SetFile(const QString&, std::uint32_t) {
  return TtsResult::Failed(QStringLiteral("The sound device is not a file"));
}

TtsResult EspeakSoundDevice::Flush() {
  return TtsResult::Failed(QStringLiteral("The sound device is not a file"));
}

TtsResult EspeakFileDestination::SetFile(const QString& file_name, std::uint32_t flags) {
  constexpr std::uint32_t kCreate = 1;
  if ((flags & kCreate) == 0 && !QFileInfo(file_name).isFile()) {
    return TtsResult::Failed(QStringLiteral("Cannot open file %1").arg(file_name));
  }
  return output_->Open(file_name);
}

}  // namespace voxmere
