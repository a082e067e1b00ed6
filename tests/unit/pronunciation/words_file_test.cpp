// SPDX-License-Identifier: GPL-3.0-or-later
#include "pronunciation/words_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <ostream>
#include <random>

#include "platform/exception.h"

namespace voxmere {

// Readable failure messages (found by argument-dependent lookup, so outside
// the unnamed namespace).
void PrintTo(const PronunciationEntry& entry, std::ostream* out) {
  *out << '{' << entry.word.toStdString() << " | " << entry.pronunciation.toStdString() << " | "
       << entry.case_sensitive.toStdString() << '}';
}

namespace {

class WordsFileTest : public ::testing::Test {
 protected:
  QString Path() const { return dir_.filePath(QStringLiteral("words.ini")); }

  void WriteBytes(const QByteArray& bytes) const {
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  QByteArray ReadBytes() const {
    QFile file(Path());
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
  }

  QTemporaryDir dir_;
};

PronunciationEntry Entry(const char* word, const char* pronunciation, const char* flag) {
  return {QString::fromUtf8(word), QString::fromUtf8(pronunciation), QString::fromUtf8(flag)};
}

TEST_F(WordsFileTest, ReadsAndWritesTheWindowsProgramsFile) {
  const QByteArray windows_file(
      "colour###***###color###***###No\r\nSQL###***###sequel###***###Yes\r\n");
  WriteBytes(windows_file);
  PronunciationTable table = {Entry("old", "entry", "Yes")};
  RestoreWords(Path(), table);
  ASSERT_EQ(table.size(), 2);
  EXPECT_EQ(table[0], Entry("colour", "color", "No"));
  EXPECT_EQ(table[1], Entry("SQL", "sequel", "Yes"));

  SaveWords(Path(), table);
  EXPECT_EQ(ReadBytes(), windows_file);

  // An empty table leaves an empty file, which reads back as an empty table.
  SaveWords(Path(), {});
  EXPECT_EQ(ReadBytes(), QByteArray());
  RestoreWords(Path(), table);
  EXPECT_TRUE(table.isEmpty());
}

TEST_F(WordsFileTest, SplitsMalformedLinesLikeTheWindowsProgram) {
  // One separator only: the "b" is lost with the 8 characters dropped for the
  // missing second separator.
  EXPECT_EQ(ParseWordsLine(u"a###***###b"), Entry("a", "", ""));
  // No separator: 16 characters are dropped, the rest becomes the flag.
  EXPECT_EQ(ParseWordsLine(u"0123456789abcdefTAIL"), Entry("", "", "TAIL"));
  EXPECT_EQ(ParseWordsLine(u"short"), Entry("", "", ""));
  EXPECT_EQ(ParseWordsLine(u""), Entry("", "", ""));
  // The flag is all that remains, further separators included; its text is kept.
  EXPECT_EQ(ParseWordsLine(u"w###***###p###***###yes###***###x"), Entry("w", "p", "yes###***###x"));
  // Separator at the very start: empty word; a missing second separator after a
  // long pronunciation drops its first 8 characters into nothing.
  EXPECT_EQ(ParseWordsLine(u"###***###0123456789"), Entry("", "", "89"));
}

TEST_F(WordsFileTest, DroppedCharactersNeverSplitACharacterAndStayStorable) {
  // The 8 dropped characters are characters, not UTF-16 halves: a character
  // outside the Basic Multilingual Plane at the cut goes whole, so what is
  // read can always be saved again.
  const PronunciationEntry cut = ParseWordsLine(u"w###***###1234567\U0001F600xyz");
  EXPECT_EQ(cut, Entry("w", "", "xyz"));
  EXPECT_TRUE(WordsEntryProblem(cut).isEmpty());
  EXPECT_EQ(ParseWordsLine(u"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600"
                           u"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600"
                           u"\U0001F600\U0001F600\U0001F600\U0001F600ab"),
            Entry("", "", "ab"));

  WriteBytes("123456789012345\xF0\x9F\x98\x80tail\r\n");
  PronunciationTable table;
  RestoreWords(Path(), table);
  ASSERT_EQ(table.size(), 1);
  EXPECT_EQ(table[0], Entry("", "", "tail"));
  SaveWords(Path(), table);
  EXPECT_EQ(ReadBytes(), QByteArray("###***######***###tail\r\n"));
}

TEST_F(WordsFileTest, LineEndsKeepTheFilesLineCount) {
  EXPECT_TRUE(ParseWords(u"").isEmpty());
  EXPECT_EQ(ParseWords(u"\r\n").size(), 1);
  EXPECT_EQ(ParseWords(u"\r\n\r\n").size(), 2);
  // CR LF, a lone LF and a lone CR all end a line; a last line without a line
  // end is still read.
  const PronunciationTable mixed = ParseWords(
      u"a###***###1###***###No\nb###***###2###***###Yes\rc###***###3###***###No\r\n"
      u"\r\nd###***###4###***###Yes");
  ASSERT_EQ(mixed.size(), 5);
  EXPECT_EQ(mixed[1], Entry("b", "2", "Yes"));
  EXPECT_EQ(mixed[2], Entry("c", "3", "No"));
  EXPECT_EQ(mixed[3], Entry("", "", ""));
  EXPECT_EQ(mixed[4], Entry("d", "4", "Yes"));
  // CR then CR LF are two line ends.
  EXPECT_EQ(ParseWords(u"x\r\r\n").size(), 2);
}

TEST_F(WordsFileTest, MissingFileLeavesTheTable) {
  PronunciationTable table = {Entry("Dr", "Doctor", "No")};
  TextEncoding encoding = TextEncoding::kWindows1252;
  RestoreWords(Path(), table, &encoding);
  ASSERT_EQ(table.size(), 1);
  EXPECT_EQ(table[0], Entry("Dr", "Doctor", "No"));
  EXPECT_EQ(encoding, TextEncoding::kWindows1252);
}

TEST_F(WordsFileTest, KeepsWindows1252AndNeverLosesText) {
  // "café" and the euro sign as the Windows program writes them.
  const QByteArray ansi("caf\xE9###***###kafe###***###No\r\n\x80###***###euro###***###Yes\r\n");
  WriteBytes(ansi);
  PronunciationTable table;
  TextEncoding encoding = TextEncoding::kUtf8;
  RestoreWords(Path(), table, &encoding);
  EXPECT_EQ(encoding, TextEncoding::kWindows1252);
  ASSERT_EQ(table.size(), 2);
  EXPECT_EQ(table[0].word, QStringLiteral("caf\u00E9"));
  EXPECT_EQ(table[1].word, QStringLiteral("\u20AC"));
  SaveWords(Path(), table, encoding);
  EXPECT_EQ(ReadBytes(), ansi);

  // A character Windows-1252 lacks turns the file into UTF-8 rather than a '?'.
  table.append({QStringLiteral("\u03A9"), QStringLiteral("omega"), QStringLiteral("No")});
  SaveWords(Path(), table, encoding);
  PronunciationTable back;
  RestoreWords(Path(), back, &encoding);
  EXPECT_EQ(back, table);
  EXPECT_EQ(encoding, TextEncoding::kUtf8);

  // "Ã©" in Windows-1252 is the byte pair of "é" in UTF-8: written as
  // Windows-1252 it would come back as "é", so it is written as UTF-8.
  const PronunciationTable mojibake = {
      {QStringLiteral("\u00C3\u00A9"), QStringLiteral("x"), QStringLiteral("No")}};
  SaveWords(Path(), mojibake, TextEncoding::kWindows1252);
  RestoreWords(Path(), back);
  EXPECT_EQ(back, mojibake);
  // So is a text that begins with what would pass for a byte-order mark.
  const PronunciationTable bom_word = {
      {QStringLiteral("\uFEFFword"), QStringLiteral("x"), QStringLiteral("No")}};
  SaveWords(Path(), bom_word);
  RestoreWords(Path(), back);
  EXPECT_EQ(back, bom_word);
}

TEST_F(WordsFileTest, RefusesEntriesThatCannotReadBackAndKeepsTheOldFile) {
  EXPECT_TRUE(WordsEntryProblem(Entry("Dr", "Doctor", "No")).isEmpty());
  EXPECT_TRUE(WordsEntryProblem(Entry("", "", "")).isEmpty());
  EXPECT_TRUE(WordsEntryProblem(Entry("#", "***", "flag###***###")).isEmpty());
  EXPECT_TRUE(WordsEntryProblem(Entry("a##", "b", "Yes")).isEmpty());

  const PronunciationEntry bad[] = {
      Entry("a###***###b", "c", "No"),  // separator in the word
      Entry("a", "b###***###c", "No"),  // separator in the pronunciation
      Entry("x###***", "y", "No"),      // forms a separator with the one written after it
      Entry("x", "y###***##", "No"),
      Entry("two\nlines", "y", "No"),  // a line break splits the entry
      Entry("x", "y", "Yes\r"),
  };
  WriteBytes("keep###***###me###***###Yes\r\n");
  for (const PronunciationEntry& entry : bad) {
    const QString problem = WordsEntryProblem(entry);
    EXPECT_FALSE(problem.isEmpty()) << entry.word.toStdString();
    try {
      SaveWords(Path(), {Entry("fine", "ok", "No"), entry});
      ADD_FAILURE() << "saved " << entry.word.toStdString();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), problem);
      EXPECT_TRUE(e.Message().contains(entry.word.isEmpty() ? entry.pronunciation : entry.word));
    }
    EXPECT_EQ(ReadBytes(), QByteArray("keep###***###me###***###Yes\r\n"));
  }
}

TEST_F(WordsFileTest, RandomTablesEitherRoundTripOrAreRefused) {
  std::mt19937 random(20240611);
  const QString alphabet = QStringLiteral("#*a\u00E9");
  auto random_text = [&](int max_length) {
    QString text;
    const int length = std::uniform_int_distribution<int>(0, max_length)(random);
    for (int i = 0; i < length; ++i) {
      text += alphabet[std::uniform_int_distribution<int>(0, alphabet.size() - 1)(random)];
    }
    return text;
  };
  int refused = 0;
  for (int round = 0; round < 2000; ++round) {
    PronunciationTable table;
    const int rows = std::uniform_int_distribution<int>(0, 4)(random);
    for (int i = 0; i < rows; ++i)
      table.append({random_text(12), random_text(12), random_text(12)});
    bool must_store = true;
    for (const PronunciationEntry& entry : table) {
      must_store = must_store && !entry.word.contains(u'#') && !entry.pronunciation.contains(u'#');
    }
    try {
      EXPECT_EQ(ParseWords(FormatWords(table)), table);
    } catch (const Exception&) {
      EXPECT_FALSE(must_store);
      ++refused;
    }
  }
  // The alphabet makes separators often enough that both outcomes occur.
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace voxmere
