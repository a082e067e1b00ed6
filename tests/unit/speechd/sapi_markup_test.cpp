// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/sapi_markup.h"

#include <gtest/gtest.h>

namespace voxmere {
namespace {

// The pitch and the words the markup leaves to speak.
struct Spoken {
  int pitch;
  QString words;

  bool operator==(const Spoken&) const = default;
};

void PrintTo(const Spoken& spoken, std::ostream* out) {
  *out << "{" << spoken.pitch << ", \"" << spoken.words.toStdString() << "\"}";
}

Spoken Read(const char* utf8) {
  const QString text = QString::fromUtf8(utf8);
  const SapiMarkupText read = ReadSapiMarkup(text);
  return {read.pitch, text.sliced(read.begin, read.end - read.begin)};
}

TEST(SapiMarkupTest, ReadsThePitchTagInTheFormsTheProgramAndXmlAllow) {
  EXPECT_EQ(Read("<pitch middle=\"5\">Hello"), (Spoken{5, "Hello"}));
  EXPECT_EQ(Read("<pitch middle=\"-5\">Hello"), (Spoken{-5, "Hello"}));
  EXPECT_EQ(Read("<pitch middle=\"0\">Hello"), (Spoken{0, "Hello"}));
  EXPECT_EQ(Read("<pitch middle='-3'>x"), (Spoken{-3, "x"}));
  EXPECT_EQ(Read("<pitch\tmiddle = \"+4\" >x"), (Spoken{4, "x"}));
  EXPECT_EQ(Read("<PITCH Middle=\" 07 \">x"), (Spoken{7, "x"}));
  EXPECT_EQ(Read("<pitch middle=\"5\"/>x"), (Spoken{5, "x"}));
  EXPECT_EQ(Read("<pitch middle=\"-99999999999999999999\">low"), (Spoken{-10, "low"}));
  // A closed tag: its close is not spoken.
  EXPECT_EQ(Read("<pitch middle=\"2\">Test</pitch>"), (Spoken{2, "Test"}));
  EXPECT_EQ(Read("<pitch middle=\"2\"></pitch >"), (Spoken{2, ""}));
  EXPECT_EQ(Read(""), (Spoken{0, ""}));
}

// Only the program's own leading tag is markup: tags the user selected,
// pitch tags among them, are words.
TEST(SapiMarkupTest, NestedTagsAddUpAreClampedAndClosingRestores) {
  EXPECT_EQ(Read("<pitch middle=\"3\">a<pitch middle=\"4\">b</pitch>c</pitch>d"),
            (Spoken{3, "a<pitch middle=\"4\">b</pitch>c</pitch>d"}));
  EXPECT_EQ(Read("<pitch middle=\"8\">a<pitch middle=\"8\">b"),
            (Spoken{8, "a<pitch middle=\"8\">b"}));
  EXPECT_EQ(Read("<pitch middle=\"1\">a<pitch middle=\"5\"/>b"),
            (Spoken{1, "a<pitch middle=\"5\"/>b"}));
  // The empty form closes nothing.
  EXPECT_EQ(Read("<pitch middle=\"1\"/>a</pitch>"), (Spoken{1, "a</pitch>"}));
}

TEST(SapiMarkupTest, EverythingElseIsSpokenLiterally) {
  // Not beginning with the tag: plain text, tags and all.
  for (const char* plain :
       {" <pitch middle=\"5\">x", "a < b & c", "<b>bold</b> &amp; &lt;", "</pitch>x",
        "<speak><break time=\"10s\"/></speak>", "<?xml version=\"1.0\"?><!-- c --><![CDATA[x]]>",
        "<silence msec=\"9000\"/><rate absspeed=\"10\"/>"}) {
    const QString text = QString::fromUtf8(plain);
    EXPECT_EQ(ReadSapiMarkup(text), (SapiMarkupText{0, 0, text.size()})) << plain;
  }
  EXPECT_EQ(Read("<pitch middle=\"5\"><volume level=\"50\">x"),
            (Spoken{5, "<volume level=\"50\">x"}));
  for (const char* broken :
       {"<pitch middle=5>", "<pitch middle=\"5'>", "<pitch middle=\"\">", "<pitch middle=\"2.5\">",
        "<pitchmiddle=\"5\">", "< pitch middle=\"5\">", "<pitch absmiddle=\"5\">",
        "<pitch middle=\"5\" range=\"2\">", "<pitch middle=\"5\"", "<pitch middle=\"5\"/ >",
        "<pitch middle=\"- 5\">", "<pitch middle=\"x\"><pitch middle=\"3\">"}) {
    const QString text = QString::fromUtf8(broken) + QStringLiteral("x");
    EXPECT_EQ(ReadSapiMarkup(text), (SapiMarkupText{0, 0, text.size()})) << broken;
  }
  // A close that is not at the very end stays.
  EXPECT_EQ(Read("<pitch middle=\"1\">a</pitch></pitch>b"), (Spoken{1, "a</pitch></pitch>b"}));
}

TEST(SapiMarkupTest, SsmlEscapingCoversTheFiveCharactersAndRoundTrips) {
  EXPECT_EQ(EscapeSsml(QStringLiteral("a&b<c>d\"e'f")),
            QStringLiteral("a&amp;b&lt;c&gt;d&quot;e&apos;f"));
  EXPECT_EQ(EscapeSsml(QStringLiteral("plain \u00e9\U0001F600")),
            QStringLiteral("plain \u00e9\U0001F600"));
  for (const QString& text :
       {QStringLiteral("&amp;"), QStringLiteral("&&lt;;"), QStringLiteral("<>\"'&"),
        QStringLiteral("&#38; &nbsp; &"), QString()}) {
    EXPECT_EQ(UnescapeSsml(EscapeSsml(text)), text) << text.toStdString();
  }
  // Other entities are left alone by the inverse.
  EXPECT_EQ(UnescapeSsml(QStringLiteral("&nbsp;&lt&amp;")), QStringLiteral("&nbsp;&lt&"));
}

}  // namespace
}  // namespace voxmere
