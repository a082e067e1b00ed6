// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace voxmere {
namespace {

testing::AssertionResult Parses(const QString& text, int a, int b, int c, int d) {
  const std::optional<PlacementNumbers> numbers = ParsePlacementNumbers(text);
  if (!numbers) return testing::AssertionFailure() << "no numbers";
  if (numbers->a != a || numbers->b != b || numbers->c != c || numbers->d != d) {
    return testing::AssertionFailure()
           << numbers->a << "," << numbers->b << "," << numbers->c << "," << numbers->d;
  }
  return testing::AssertionSuccess();
}

TEST(WindowPlacementTest, NumbersReadBackAsWritten) {
  EXPECT_EQ(FormatPlacementNumbers(-1, -1, -8, -30), "-1,-1,-8,-30");
  EXPECT_EQ(FormatPlacementNumbers(100, 0, 2147483647, -2147483647 - 1),
            "100,0,2147483647,-2147483648");
  EXPECT_TRUE(Parses(FormatPlacementNumbers(INT_MIN, INT_MAX, 0, -5), INT_MIN, INT_MAX, 0, -5));
  // Blanks around a number are allowed, a plus sign too.
  EXPECT_TRUE(Parses(" 10 ,\t20,30 , +40 ", 10, 20, 30, 40));
  EXPECT_TRUE(Parses("007,-0,0,0", 7, 0, 0, 0));
}

TEST(WindowPlacementTest, AnythingButFourIntegersIsRefused) {
  for (const char* text :
       {"", "1,2,3", "1,2,3,4,5", "1,2,,4", "1,2,3,4,", "a,2,3,4", "1,2,3,4x", "1 2,3,4,5",
        "1,2,3,- 4", "1,2,3,--4", "1,2,3,+", "0x10,2,3,4", "1.5,2,3,4", "2147483648,0,0,0",
        "0,0,0,-2147483649", "99999999999999999999,0,0,0"}) {
    EXPECT_FALSE(ParsePlacementNumbers(QString::fromLatin1(text))) << text;
  }
}

}  // namespace
}  // namespace voxmere
