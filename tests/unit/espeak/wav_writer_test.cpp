// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/wav_writer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "platform/exception.h"

namespace voxmere {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::uint32_t U32(const QByteArray& bytes, int at) {
  return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}
std::uint16_t U16(const QByteArray& bytes, int at) {
  return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
}

TEST(WavWriterTest, WritesAHeaderThatFollowsTheSamplesAtEveryFlush) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("out.wav");
  {
    WavWriter writer(path, 22050);
    ASSERT_TRUE(writer.Flush());
    QByteArray bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 44);
    EXPECT_EQ(bytes.mid(0, 4), "RIFF");
    EXPECT_EQ(U32(bytes, 4), 36u);
    EXPECT_EQ(bytes.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(U32(bytes, 16), 16u);
    EXPECT_EQ(U16(bytes, 20), 1u);  // PCM
    EXPECT_EQ(U16(bytes, 22), 1u);  // mono
    EXPECT_EQ(U32(bytes, 24), 22050u);
    EXPECT_EQ(U32(bytes, 28), 44100u);
    EXPECT_EQ(U16(bytes, 32), 2u);
    EXPECT_EQ(U16(bytes, 34), 16u);
    EXPECT_EQ(bytes.mid(36, 4), "data");
    EXPECT_EQ(U32(bytes, 40), 0u);

    const std::int16_t samples[] = {1, -2, 32767, -32768};
    ASSERT_TRUE(writer.Append(samples, 4));
    ASSERT_TRUE(writer.Flush());
    bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 52);
    EXPECT_EQ(U32(bytes, 4), 44u);
    EXPECT_EQ(U32(bytes, 40), 8u);
    EXPECT_EQ(bytes.mid(44), QByteArray("\x01\x00\xfe\xff\xff\x7f\x00\x80", 8));

    // More samples after a flush land behind the others.
    ASSERT_TRUE(writer.Append(samples, 2));
    EXPECT_EQ(writer.SampleCount(), 6u);
  }
  // Closing flushes too.
  const QByteArray bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 56);
  EXPECT_EQ(U32(bytes, 40), 12u);
  EXPECT_EQ(U32(bytes, 4), 48u);
  EXPECT_EQ(bytes.mid(52), QByteArray("\x01\x00\xfe\xff", 4));
}

TEST(WavWriterTest, ReplacesAnOldFileAndReportsOneItCannotCreate) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("old.wav");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
  }
  { WavWriter writer(path, 16000); }
  const QByteArray bytes = ReadAll(path);
  EXPECT_EQ(bytes.size(), 44);
  EXPECT_EQ(U32(bytes, 24), 16000u);

  EXPECT_THROW(WavWriter(folder.filePath("missing/folder/x.wav"), 22050), Exception);
}

}  // namespace
}  // namespace voxmere
