// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/value_scales.h"

#include <gtest/gtest.h>

namespace voxmere {
namespace {

TEST(ValueScalesTest, StoredNumbersGoBackToTheNearestEngineValueUnclamped) {
  EXPECT_EQ(Sapi5EngineValueFromNumber(135), -3);
  EXPECT_EQ(Sapi5EngineValueFromNumber(180), 0);
  EXPECT_EQ(Sapi5EngineValueFromNumber(330), 10);
  EXPECT_EQ(Sapi5EngineValueFromNumber(30), -10);
  // Outside 30..330 the value is passed on as computed.
  EXPECT_EQ(Sapi5EngineValueFromNumber(400), 15);
  EXPECT_EQ(Sapi5EngineValueFromNumber(0), -12);
  // Numbers between the steps go to the nearest step, on both sides of zero
  // (truncating division would give 9 - 12 and 0 - 12 here).
  EXPECT_EQ(Sapi5EngineValueFromNumber(143), -2);
  EXPECT_EQ(Sapi5EngineValueFromNumber(142), -3);
  EXPECT_EQ(Sapi5EngineValueFromNumber(-8), -13);
  EXPECT_EQ(Sapi5EngineValueFromNumber(-7), -12);
}

TEST(ValueScalesTest, EveryEngineValueSurvivesTheRoundTrip) {
  EXPECT_EQ(Sapi5NumberFromEngineValue(-10), 30);
  EXPECT_EQ(Sapi5NumberFromEngineValue(-3), 135);
  EXPECT_EQ(Sapi5NumberFromEngineValue(-5), 105);
  EXPECT_EQ(Sapi5NumberFromEngineValue(10), 330);
  for (int e = -10; e <= 10; ++e) {
    EXPECT_EQ(Sapi5EngineValueFromNumber(Sapi5NumberFromEngineValue(e)), e) << e;
  }
}

TEST(ValueScalesTest, PitchMarkupCarriesThePlainDecimalValue) {
  EXPECT_EQ(PitchMarkup(-5), QStringLiteral("<pitch middle=\"-5\">"));
  EXPECT_EQ(PitchMarkup(0), QStringLiteral("<pitch middle=\"0\">"));
  EXPECT_EQ(PitchMarkup(10), QStringLiteral("<pitch middle=\"10\">"));
  EXPECT_EQ(PitchMarkup(-12), QStringLiteral("<pitch middle=\"-12\">"));
  EXPECT_EQ(PitchMarkupEnd(), QStringLiteral("</pitch>"));
}

}  // namespace
}  // namespace voxmere
