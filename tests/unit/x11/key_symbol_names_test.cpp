// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_symbol_names.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "keyboard_maps.h"

namespace voxmere {
namespace {

TEST(KeysymToUnicode, AgreesWithXsOwnTableInEveryRangeItCovers) {
  // keysymdef.h notes the character of each symbol ("U+0104"); every symbol
  // converted must give that character. Ranges left out give 0.
  QFile header(QStringLiteral("/usr/include/X11/keysymdef.h"));
  if (!header.open(QIODevice::ReadOnly | QIODevice::Text)) GTEST_SKIP() << "no keysymdef.h";
  const QRegularExpression line(
      QStringLiteral(R"(^#define XK_(\w+)\s+0x([0-9a-fA-F]+)\s*/\*\s*U\+([0-9A-Fa-f]+))"),
      QRegularExpression::MultilineOption);
  int converted = 0;
  auto matches = line.globalMatch(QString::fromLatin1(header.readAll()));
  while (matches.hasNext()) {
    const auto match = matches.next();
    const Keysym keysym = match.captured(2).toUInt(nullptr, 16);
    const char32_t expected = match.captured(3).toUInt(nullptr, 16);
    const char32_t got = KeysymToUnicode(keysym);
    if (got == 0) continue;
    ++converted;
    EXPECT_EQ(static_cast<unsigned>(got), static_cast<unsigned>(expected))
        << match.captured(1).toStdString();
  }
  // Latin-1..4, Cyrillic, Greek, kana, Arabic, Hebrew, Thai and the Unicode
  // symbols that keysymdef lists.
  EXPECT_GT(converted, 1300);
  for (Keysym keysym : {XK_Odiaeresis, XK_Cyrillic_zhe, XK_Greek_OMEGA, XK_Thai_kokai,
                        XK_hebrew_aleph, XK_Arabic_alef, XK_kana_A, XK_odoubleacute}) {
    EXPECT_NE(KeysymToUnicode(keysym), 0u) << std::hex << keysym;
  }
  EXPECT_EQ(KeysymToUnicode(0x1000000 + 0x1F600), char32_t{0x1F600});
  EXPECT_EQ(KeysymToUnicode(XK_F1), 0u);
  EXPECT_EQ(KeysymToUnicode(XK_dead_acute), 0u);
  EXPECT_EQ(KeysymToUnicode(0x1F), 0u);
}

TEST(KeysymDisplayName, NamesKeysAsTheWindowsNamesDo) {
  EXPECT_EQ(KeysymDisplayName(XK_semicolon), ";");
  EXPECT_EQ(KeysymDisplayName(XK_a), "A");
  EXPECT_EQ(KeysymDisplayName(XK_odiaeresis), QString::fromUtf8("Ö"));
  EXPECT_EQ(KeysymDisplayName(XK_Cyrillic_zhe), QString::fromUtf8("Ж"));
  EXPECT_EQ(KeysymDisplayName(XK_Greek_sigma), QString::fromUtf8("Σ"));
  // No capital in a single character: stays as it is.
  EXPECT_EQ(KeysymDisplayName(XK_ssharp), QString::fromUtf8("ß"));
  EXPECT_EQ(KeysymDisplayName(XK_KP_Multiply), "Num *");
  EXPECT_EQ(KeysymDisplayName(XK_KP_Begin), "Num 5");
  EXPECT_EQ(KeysymDisplayName(XK_Control_L), "Ctrl");
  EXPECT_EQ(KeysymDisplayName(XK_Shift_R), "Right Shift");
  EXPECT_EQ(KeysymDisplayName(XK_Caps_Lock), "Caps Lock");
  EXPECT_EQ(KeysymDisplayName(XK_F13), "F13");
  EXPECT_EQ(KeysymDisplayName(XK_dead_acute), "Acute");
  EXPECT_EQ(KeysymDisplayName(XF86XK_AudioPlay), "Play/Pause");
  // Unknown symbols by their X names.
  EXPECT_EQ(KeysymDisplayName(XF86XK_WakeUp), "XF86WakeUp");
  EXPECT_EQ(KeysymDisplayName(0), "");
}

TEST(KeysymDisplayName, NoNameReadsAsAModifierPrefixOrIsBlank) {
  // The hot key text "Ctrl+^" would parse as Ctrl+Ctrl and lose the key.
  EXPECT_EQ(KeysymDisplayName(XK_asciicircum), "Circumflex");
  EXPECT_EQ(KeysymDisplayName(XK_dead_circumflex), "Circumflex");
  EXPECT_EQ(KeysymDisplayName(XK_space), "Space");
  EXPECT_EQ(KeysymDisplayName(XK_nobreakspace), "nobreakspace");
  for (Keysym keysym = 0x20; keysym <= 0x17F; ++keysym) {
    const QString name = KeysymDisplayName(keysym);
    EXPECT_FALSE(name.isEmpty()) << std::hex << keysym;
    EXPECT_FALSE(name.startsWith(QLatin1Char('^'))) << std::hex << keysym;
    EXPECT_NE(name.trimmed(), QString()) << std::hex << keysym;
  }
}

}  // namespace
}  // namespace voxmere
