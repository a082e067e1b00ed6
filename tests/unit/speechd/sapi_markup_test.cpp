// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/sapi_markup.h"

#include <gtest/gtest.h>

namespace voxmere {

// Readable segments in test failures.
void PrintTo(const PitchSegment& segment, std::ostream* out) {
  *out << "{" << segment.pitch << ", \"" << segment.text.toStdString() << "\"}";
}

namespace {

using Segments = std::vector<PitchSegment>;

Segments Read(const char* text) { return ReadSapiMarkup(QString::fromUtf8(text)); }

TEST(SapiMarkupTest, ReadsThePitchTagInTheFormsTheProgramAndXmlAllow) {
  EXPECT_EQ(Read("<pitch middle=\"5\">Hello"), (Segments{{5, "Hello"}}));
  EXPECT_EQ(Read("<pitch middle=\"-5\">Hello"), (Segments{{-5, "Hello"}}));
  EXPECT_EQ(Read("<pitch middle=\"0\">Hello"), (Segments{{0, "Hello"}}));
  EXPECT_EQ(Read("<pitch middle='-3'>x"), (Segments{{-3, "x"}}));
  EXPECT_EQ(Read("<pitch\tmiddle = \"+4\" >x"), (Segments{{4, "x"}}));
  EXPECT_EQ(Read("<PITCH Middle=\" 07 \">x"), (Segments{{7, "x"}}));
  // A closed tag: nothing after it is spoken then.
  EXPECT_EQ(Read("<pitch middle=\"2\">Test</pitch>"), (Segments{{2, "Test"}}));
  EXPECT_EQ(Read("<pitch middle=\"2\"></pitch >"), Segments{});
  EXPECT_EQ(Read(""), Segments{});
}

TEST(SapiMarkupTest, NestedTagsAddUpAreClampedAndClosingRestores) {
  EXPECT_EQ(Read("<pitch middle=\"3\">a<pitch middle=\"4\">b</pitch>c</pitch>d"),
            (Segments{{3, "a"}, {7, "b"}, {3, "c"}, {0, "d"}}));
  EXPECT_EQ(Read("<pitch middle=\"8\">a<pitch middle=\"8\">b<pitch middle=\"-20\">c"),
            (Segments{{8, "a"}, {10, "b"}, {-4, "c"}}));
  EXPECT_EQ(Read("<pitch middle=\"-99999999999999999999\">low"), (Segments{{-10, "low"}}));
  // The empty form changes the pitch for what follows, up to the enclosing close.
  EXPECT_EQ(Read("<pitch middle=\"1\">a<pitch middle=\"5\"/>b</pitch>c"),
            (Segments{{1, "a"}, {6, "b"}, {0, "c"}}));
  // Neighbours at the same pitch merge.
  EXPECT_EQ(Read("<pitch middle=\"2\">a<pitch middle=\"0\">b</pitch>c"), (Segments{{2, "abc"}}));
}

TEST(SapiMarkupTest, EverythingElseIsSpokenLiterally) {
  // Not beginning with "<": plain text, tags and all.
  EXPECT_EQ(Read(" <pitch middle=\"5\">x"), (Segments{{0, " <pitch middle=\"5\">x"}}));
  EXPECT_EQ(Read("a < b & c"), (Segments{{0, "a < b & c"}}));
  // Other tags, entities and broken pitch tags stay as they are.
  EXPECT_EQ(Read("<b>bold</b> &amp; &lt;"), (Segments{{0, "<b>bold</b> &amp; &lt;"}}));
  EXPECT_EQ(Read("<pitch middle=\"5\"><volume level=\"50\">x"),
            (Segments{{5, "<volume level=\"50\">x"}}));
  for (const char* broken :
       {"<pitch middle=\"5\">", "<pitch middle=5>", "<pitch middle=\"5'>", "<pitch middle=\"\">",
        "<pitch middle=\"2.5\">", "<pitchmiddle=\"5\">", "< pitch middle=\"5\">",
        "<pitch absmiddle=\"5\">", "<pitch middle=\"5\" range=\"2\">", "<pitch middle=\"5\"",
        "<pitch middle=\"5\"/ >", "<pitch middle=\"- 5\">"}) {
    const QString text = QString::fromUtf8(broken) + QStringLiteral("x");
    if (text == QStringLiteral("<pitch middle=\"5\">x")) continue;  // the one good form
    EXPECT_EQ(ReadSapiMarkup(text), (Segments{{0, text}})) << broken;
  }
  // A closing tag with nothing open is text; one after a real tag closes it.
  EXPECT_EQ(Read("<x></pitch>y"), (Segments{{0, "<x></pitch>y"}}));
  EXPECT_EQ(Read("<pitch middle=\"1\">a</pitch></pitch>b"), (Segments{{1, "a"}, {0, "</pitch>b"}}));
  // A broken tag does not hide a good one right after it.
  EXPECT_EQ(Read("<pitch middle=\"x\"><pitch middle=\"3\">y"),
            (Segments{{0, "<pitch middle=\"x\">"}, {3, "y"}}));
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
