// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_value.h"

#include <gtest/gtest.h>

#include "settings/ini_syntax.h"

namespace voxmere {
namespace {

TEST(IniValueTest, ParsesDecimalWithBlanksAndSign) {
  EXPECT_EQ(ParseIniInteger(u"16392"), 16392);
  EXPECT_EQ(ParseIniInteger(u"   42"), 42);
  EXPECT_EQ(ParseIniInteger(u"-17"), -17);
  EXPECT_EQ(ParseIniInteger(u"+17"), 17);
  EXPECT_EQ(ParseIniInteger(u"007"), 7);
  EXPECT_EQ(ParseIniInteger(u"2147483647"), 2147483647);
  EXPECT_EQ(ParseIniInteger(u"-2147483648"), -2147483647 - 1);

  EXPECT_EQ(ParseIniInteger(u"2147483648"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"-2147483649"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"99999999999999999999"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u""), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"   "), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"-"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"12abc"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"12 "), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"- 5"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"1.5"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"\u0661"), std::nullopt);  // Arabic-Indic digit one
}

TEST(IniValueTest, ParsesHexadecimalPrefixes) {
  EXPECT_EQ(ParseIniInteger(u"0x802D"), 32813);  // Alt+Ins
  EXPECT_EQ(ParseIniInteger(u"0X802d"), 32813);
  EXPECT_EQ(ParseIniInteger(u"$4041"), 16449);
  EXPECT_EQ(ParseIniInteger(u"x4041"), 16449);
  EXPECT_EQ(ParseIniInteger(u"X4041"), 16449);
  EXPECT_EQ(ParseIniInteger(u"  -$10"), -16);
  EXPECT_EQ(ParseIniInteger(u"+0x10"), 16);
  EXPECT_EQ(ParseIniInteger(u"$FFFFFFFF"), -1);
  EXPECT_EQ(ParseIniInteger(u"$80000000"), -2147483647 - 1);
  EXPECT_EQ(ParseIniInteger(u"$000000001"), 1);  // leading zeros don't overflow

  EXPECT_EQ(ParseIniInteger(u"$100000000"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"$"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"0x"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"x"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"$12G"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"0x$12"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(u"$-12"), std::nullopt);
}

TEST(IniValueTest, TrimsBlanksAndTabsAndCutsLongValues) {
  EXPECT_EQ(TrimIniValue(u" \t value with  blanks \t "), QStringLiteral("value with  blanks"));
  EXPECT_EQ(TrimIniValue(u"\u00A0x\u00A0"), QStringLiteral("\u00A0x\u00A0"));  // only blank/tab

  const QString long_value = QString(3000, u'a');
  EXPECT_EQ(TrimIniValue(QStringLiteral("  ") + long_value), QString(kIniValueMaxLength, u'a'));

  // A cut never leaves half a surrogate pair behind.
  QString emoji = QString(kIniValueMaxLength - 1, u'b') + QStringLiteral("\U0001F600");
  EXPECT_EQ(TrimIniValue(emoji), QString(kIniValueMaxLength - 1, u'b'));
}

TEST(IniSyntaxTest, SplitsOnEveryLineEndAndJoinsBackExactly) {
  const QString text = QStringLiteral("a\r\nb\rc\nd\r\r\ne");
  const QList<IniLine> lines = SplitIniLines(text);
  const QList<IniLine> expected = {{"a", LineEnd::kCrLf}, {"b", LineEnd::kCr},
                                   {"c", LineEnd::kLf},   {"d", LineEnd::kCr},
                                   {"", LineEnd::kCrLf},  {"e", LineEnd::kNone}};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(JoinIniLines(lines), text);
  EXPECT_TRUE(SplitIniLines(u"").isEmpty());
  EXPECT_EQ(SplitIniLines(u"x\n").size(), 1);  // no empty line after the last end
  EXPECT_EQ(SplitIniLines(u"\n\n").size(), 2);
}

TEST(IniSyntaxTest, ClassifiesHeadersCommentsAndKeys) {
  EXPECT_EQ(IniHeaderName(u"[General]"), QStringView(u"General"));
  EXPECT_EQ(IniHeaderName(u"  [ Slot_0 ]  trailing"), QStringView(u"Slot_0"));
  EXPECT_EQ(IniHeaderName(u"[a]b]"), QStringView(u"a"));
  EXPECT_EQ(IniHeaderName(u"[]"), QStringView(u""));
  EXPECT_FALSE(IniHeaderName(u"[open"));
  EXPECT_FALSE(IniHeaderName(u"x[a]"));

  const auto key = IniKeyOf(u" Voice = Alpha = Beta ");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->name, QStringView(u"Voice"));
  EXPECT_EQ(key->raw_value, QStringView(u" Alpha = Beta "));
  EXPECT_FALSE(IniKeyOf(u";Voice=Alpha"));
  EXPECT_FALSE(IniKeyOf(u"  ; Voice=Alpha"));
  EXPECT_FALSE(IniKeyOf(u"[a]=b"));
  EXPECT_FALSE(IniKeyOf(u"=value"));
  EXPECT_FALSE(IniKeyOf(u"no equals sign"));

  EXPECT_TRUE(IniNamesMatch(u"general", u" GENERAL\t"));
  EXPECT_TRUE(IniNamesMatch(u"Caf\u00E9", u"CAF\u00C9"));
  EXPECT_FALSE(IniNamesMatch(u"Slot_1", u"Slot_10"));
}

}  // namespace
}  // namespace voxmere
