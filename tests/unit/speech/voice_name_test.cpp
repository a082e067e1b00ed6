// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voice_name.h"

#include <gtest/gtest.h>

namespace voxmere {
namespace {

TEST(VoiceNameTest, CutsTheSapi5SuffixWithTheCharacterBeforeIt) {
  EXPECT_EQ(StoredVoiceName(QStringLiteral("Alpha (SAPI5)")), QStringLiteral("Alpha"));
  EXPECT_EQ(StoredVoiceName(QStringLiteral("Alpha")), QStringLiteral("Alpha"));
  // Everything after the marker goes too, and the character before it is cut
  // whatever it is.
  EXPECT_EQ(StoredVoiceName(QStringLiteral("Beta-(SAPI5) extra")), QStringLiteral("Beta"));
  EXPECT_EQ(StoredVoiceName(QStringLiteral("(SAPI5)")), QString());
  // Only the exact marker counts.
  EXPECT_EQ(StoredVoiceName(QStringLiteral("Gamma (sapi5)")), QStringLiteral("Gamma (sapi5)"));
}

}  // namespace
}  // namespace voxmere
