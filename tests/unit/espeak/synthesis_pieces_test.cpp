// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/synthesis_pieces.h"

#include <gtest/gtest.h>

#include <QString>

namespace voxmere {
namespace {

QByteArray Joined(const std::vector<SynthesisPiece>& pieces) {
  QByteArray all;
  for (const SynthesisPiece& piece : pieces) all += piece.text;
  return all;
}

TEST(SynthesisPiecesTest, ShortTextsStayWholeAndLongOnesBreakAtSentenceEnds) {
  auto pieces = SplitForSynthesis("Hello there. How are you?\r\n");
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].text, "Hello there. How are you?\r\n");
  EXPECT_FALSE(pieces[0].ends_sentence) << "the end of the text needs no pause";
  EXPECT_TRUE(SplitForSynthesis("").empty());
  EXPECT_TRUE(SplitForSynthesis(" \r\n ").empty());
  // Control characters are no words, and Ctrl+A would start an engine
  // command: "\x01" "0A" is volume 0 for the rest of the piece.
  EXPECT_EQ(Joined(SplitForSynthesis("one \x01"
                                     "0A\x02\x1b[m\x7F two\tthree\f")),
            "one  0A  [m  two\tthree\f");
  EXPECT_TRUE(SplitForSynthesis("\x01\x02\x03").empty());

  // With pieces of at least 10 bytes: cut after the first sentence end past
  // that, never inside "3.5" or before a sentence is long enough.
  pieces = SplitForSynthesis("One. Two is 3.5 long. Three! Four? End", 10, 1000);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].text, "One. Two is 3.5 long.");
  EXPECT_TRUE(pieces[0].ends_sentence);
  EXPECT_EQ(pieces[1].text, " Three! Four?");
  EXPECT_TRUE(pieces[1].ends_sentence);
  EXPECT_EQ(pieces[2].text, " End");
  EXPECT_FALSE(pieces[2].ends_sentence);

  // Ideographic sentence ends need no blank after them.
  pieces =
      SplitForSynthesis("\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE5\x86\x8D\xE8\xA7\x81", 6, 1000);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].text, "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82");
  EXPECT_TRUE(pieces[0].ends_sentence);
}

TEST(SynthesisPiecesTest, RunOnTextBreaksAtBlanksOrWholeCharactersAndLosesNothing) {
  const QByteArray words = QByteArray("word ").repeated(100);
  auto pieces = SplitForSynthesis(words, 10, 42);
  EXPECT_EQ(Joined(pieces), words);
  for (const SynthesisPiece& piece : pieces) {
    EXPECT_LE(piece.text.size(), 42);
    EXPECT_FALSE(piece.ends_sentence);
    EXPECT_FALSE(piece.text.startsWith("ord")) << "a word was cut";
  }

  // No blanks at all: cuts fall between characters, never inside one.
  const QByteArray cjk = QByteArray("\xE4\xBD\xA0").repeated(50);  // 150 bytes
  pieces = SplitForSynthesis(cjk, 10, 20);
  EXPECT_EQ(Joined(pieces), cjk);
  for (const SynthesisPiece& piece : pieces) {
    EXPECT_EQ(piece.text.size() % 3, 0) << "a character was split";
    EXPECT_EQ(QString::fromUtf8(piece.text).toUtf8(), piece.text);
  }
  // A text that ends in half a character keeps its bytes.
  const QByteArray broken = QByteArray("abc\xE4\xBD", 5);
  EXPECT_EQ(Joined(SplitForSynthesis(broken, 1, 2)), broken);
}

}  // namespace
}  // namespace voxmere
