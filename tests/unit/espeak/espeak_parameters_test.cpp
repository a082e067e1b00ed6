// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_parameters.h"

#include <gtest/gtest.h>

namespace voxmere {
namespace {

TEST(EspeakParametersTest, OutOfRangeRequestsTakeTheEngineLimits) {
  EspeakParameters p;
  EXPECT_EQ(p.speed, 175u);
  EXPECT_EQ(p.pitch, 50u);
  EXPECT_EQ(p.volume, 0xFFFFFFFFu);

  // What the adapter's range probe sends.
  p.SetSpeed(4294967295u);
  EXPECT_EQ(p.speed, 450u);
  p.SetSpeed(0);
  EXPECT_EQ(p.speed, 80u);
  p.SetSpeed(79);
  EXPECT_EQ(p.speed, 80u);
  p.SetSpeed(451);
  EXPECT_EQ(p.speed, 450u);
  p.SetSpeed(180);
  EXPECT_EQ(p.speed, 180u);
  p.SetSpeed(0xFFFFFFFFFFFFFFFFull);
  EXPECT_EQ(p.speed, 450u);

  p.SetPitch(65535);
  EXPECT_EQ(p.pitch, 100u);
  p.SetPitch(101);
  EXPECT_EQ(p.pitch, 100u);
  p.SetPitch(0);
  EXPECT_EQ(p.pitch, 0u);
  p.SetPitch(73);
  EXPECT_EQ(p.pitch, 73u);
}

TEST(EspeakParametersTest, VolumeLevelsMapOntoEspeakVolume) {
  EspeakParameters p;
  EXPECT_EQ(p.EspeakVolume(), 100);
  p.SetVolume(0);
  EXPECT_EQ(p.EspeakVolume(), 0);
  // 50 % as the program sends it: 32767 on both channels.
  p.SetVolume(2147450879u);
  EXPECT_EQ(p.volume, 2147450879u) << "the levels are kept as set, for VolumeGet";
  EXPECT_EQ(p.EspeakVolume(), 50);
  // One channel alone still speaks at its level (the output is mono).
  p.SetVolume(0x0000FFFFu);
  EXPECT_EQ(p.EspeakVolume(), 100);
  p.SetVolume(0xFFFF0000u);
  EXPECT_EQ(p.EspeakVolume(), 100);
  p.SetVolume(0x0000028Fu);  // 655: just under 1 %, rounds to 1
  EXPECT_EQ(p.EspeakVolume(), 1);
  p.SetVolume(0x00010001u);  // the smallest level rounds to silence
  EXPECT_EQ(p.EspeakVolume(), 0);
}

TEST(ControlTagsTest, SetsSpeedPitchAndVolumeFromTags) {
  EspeakParameters p;
  EXPECT_EQ(ApplyControlTags("\\Spd=180\\", &p), 1);
  EXPECT_EQ(p.speed, 180u);
  EXPECT_EQ(ApplyControlTags("\\Pit=100\\", &p), 1);
  EXPECT_EQ(p.pitch, 100u);
  EXPECT_EQ(ApplyControlTags("\\Vol=0\\", &p), 1);
  EXPECT_EQ(p.volume, 0u);
  EXPECT_EQ(ApplyControlTags("\\Vol=4294967295\\", &p), 1);
  EXPECT_EQ(p.volume, 0xFFFFFFFFu);

  // Several in one string, back to back or sharing a backslash, any case,
  // blanks around the number.
  EXPECT_EQ(ApplyControlTags("\\Spd=200\\\\Pit=60\\\\Vol=2147450879\\", &p), 3);
  EXPECT_EQ(p.speed, 200u);
  EXPECT_EQ(p.pitch, 60u);
  EXPECT_EQ(p.volume, 2147450879u);
  EXPECT_EQ(ApplyControlTags("\\spd=300\\PIT=40\\", &p), 2);
  EXPECT_EQ(p.speed, 300u);
  EXPECT_EQ(p.pitch, 40u);
  EXPECT_EQ(ApplyControlTags("\\Spd= 220 \\", &p), 1);
  EXPECT_EQ(p.speed, 220u);
  // Text between tags is not a tag; the tags around it still count.
  EXPECT_EQ(ApplyControlTags("\\Spd=100\\ some words \\Pit=70\\", &p), 2);
  EXPECT_EQ(p.speed, 100u);
  EXPECT_EQ(p.pitch, 70u);

  // Values are held to the limits, also when they overflow.
  EXPECT_EQ(ApplyControlTags("\\Spd=99999999999999999999999\\", &p), 1);
  EXPECT_EQ(p.speed, 450u);
  EXPECT_EQ(ApplyControlTags("\\Pit=70000\\", &p), 1);
  EXPECT_EQ(p.pitch, 100u);
  EXPECT_EQ(ApplyControlTags("\\Vol=99999999999\\", &p), 1);
  EXPECT_EQ(p.volume, 0xFFFFFFFFu);
}

TEST(ControlTagsTest, IgnoresUnknownAndMalformedTags) {
  EspeakParameters p;
  p.SetSpeed(123);
  p.SetPitch(45);
  p.SetVolume(777);
  for (const char* tags : {"", "hello", "\\Rst\\", "\\Emp\\", "\\Spd=\\", "\\Spd=fast\\",
                           "\\Spd=-5\\", "\\Spd=+5\\", "\\Spd=1 2\\", "\\Spd=180", "Spd=180\\",
                           "\\Xyz=5\\", "\\=5\\", "\\Spd\\=180\\", "\\\\\\"}) {
    EXPECT_EQ(ApplyControlTags(tags, &p), 0) << tags;
  }
  EXPECT_EQ(p.speed, 123u);
  EXPECT_EQ(p.pitch, 45u);
  EXPECT_EQ(p.volume, 777u);
  // An unknown tag in front does not hide the next one.
  EXPECT_EQ(ApplyControlTags("\\Rst\\\\Spd=100\\", &p), 1);
  EXPECT_EQ(p.speed, 100u);
}

}  // namespace
}  // namespace voxmere
