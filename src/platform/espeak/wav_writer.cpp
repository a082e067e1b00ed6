// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/wav_writer.h"

#include <QtEndian>
#include <algorithm>
#include <vector>

#include "platform/exception.h"

namespace voxmere {
namespace {

// RIFF sizes are 32-bit: the data stops growing in the header there.
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFu - (WavWriter::kHeaderSize - 8);

void Put32(char* at, std::uint32_t value) { qToLittleEndian(value, at); }
void Put16(char* at, std::uint16_t value) { qToLittleEndian(value, at); }

QByteArray Header(int sample_rate, std::uint64_t sample_count) {
  const auto data_bytes =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(sample_count * 2, kMaxDataBytes));
  QByteArray header(WavWriter::kHeaderSize, '\0');
  char* h = header.data();
  std::copy_n("RIFF", 4, h);
  Put32(h + 4, 36 + data_bytes);
  std::copy_n("WAVEfmt ", 8, h + 8);
  Put32(h + 16, 16);  // format chunk size
  Put16(h + 20, 1);   // PCM
  Put16(h + 22, 1);   // mono
  Put32(h + 24, static_cast<std::uint32_t>(sample_rate));
  Put32(h + 28, static_cast<std::uint32_t>(sample_rate) * 2);  // bytes per second
  Put16(h + 32, 2);                                            // block align
  Put16(h + 34, 16);                                           // bits per sample
  std::copy_n("data", 4, h + 36);
  Put32(h + 40, data_bytes);
  return header;
}

}  // namespace

WavWriter::WavWriter(const QString& file_name, int sample_rate)
    : file_(file_name), sample_rate_(sample_rate) {
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file_.write(Header(sample_rate_, 0)) != kHeaderSize) {
    throw Exception(QStringLiteral("Cannot open file %1: %2").arg(file_name, file_.errorString()));
  }
}

WavWriter::~WavWriter() { Flush(); }

bool WavWriter::Append(const std::int16_t* samples, std::size_t count) {
  std::vector<std::int16_t> little(samples, samples + count);
  for (std::int16_t& sample : little) sample = qToLittleEndian(sample);
  const auto bytes = static_cast<qint64>(count * 2);
  if (file_.write(reinterpret_cast<const char*>(little.data()), bytes) != bytes) return false;
  sample_count_ += count;
  return true;
}

bool WavWriter::Flush() {
  const qint64 end = file_.pos();
  const bool ok = file_.seek(0) &&
                  file_.write(Header(sample_rate_, sample_count_)) == kHeaderSize &&
                  file_.seek(end) && file_.flush();
  return ok;
}

}  // namespace voxmere
