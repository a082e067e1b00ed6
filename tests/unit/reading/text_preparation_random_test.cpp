// SPDX-License-Identifier: GPL-3.0-or-later
// Randomised comparison of the fast text preparation with the plain
// splice-per-match loop, on small alphabets where words overlap, repeat,
// create each other and run across inserted texts all the time.

#include <gtest/gtest.h>

#include <random>

#include "reading/correction_row.h"
#include "reading/corrections.h"
#include "reading/text_preparation.h"
#include "unit/reading/literal_text_preparation.h"

namespace voxmere {
namespace {

class RandomTexts {
 public:
  explicit RandomTexts(uint32_t seed) : random_(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  QString Text(const QString& alphabet, int max_length) {
    QString text;
    const int length = Between(0, max_length);
    for (int i = 0; i < length; ++i) text += alphabet[Between(0, alphabet.size() - 1)];
    return text;
  }

  // With `shrinking`, no pronunciation is longer than its word, so that
  // large texts cannot grow row after row.
  PronunciationTable Table(const QString& alphabet, int max_rows, int max_word, int max_spoken,
                           bool shrinking = false) {
    static const char* const kFlags[] = {"Yes", "No", "No", "yes", ""};
    PronunciationTable table;
    const int rows = Between(0, max_rows);
    for (int i = 0; i < rows; ++i) {
      const QString word = Text(alphabet, max_word);
      const int spoken_length = shrinking ? static_cast<int>(word.size()) : max_spoken;
      table.append(
          {word, Text(alphabet, spoken_length), QString::fromLatin1(kFlags[Between(0, 4)])});
    }
    return table;
  }

 private:
  std::mt19937 random_;
};

std::string Describe(const QString& text, const PronunciationTable& table) {
  std::string out = "text \"" + text.toStdString() + "\" rows";
  for (const PronunciationEntry& row : table) {
    out += " [" + row.word.toStdString() + " -> " + row.pronunciation.toStdString() + " " +
           row.case_sensitive.toStdString() + "]";
  }
  return out;
}

TEST(TextPreparationRandomTest, ReplaceAllMatchesTheLiteralLoop) {
  RandomTexts random(7);
  for (int round = 0; round < 20000; ++round) {
    const QString alphabet = round % 2 == 0 ? QStringLiteral("ab") : QStringLiteral("aAbc");
    const QString text = random.Text(alphabet, 14);
    const QString word = random.Text(alphabet, 3);
    const QString spoken = random.Text(alphabet, 4);
    ASSERT_EQ(ReplaceAll(text, word, spoken), literal::ReplaceAll(text, word, spoken, false))
        << text.toStdString() << " / " << word.toStdString() << " -> " << spoken.toStdString();
    ASSERT_EQ(ReplaceAllIgnoringCase(text, word, spoken),
              literal::ReplaceAll(text, word, spoken, true))
        << text.toStdString() << " / " << word.toStdString() << " -> " << spoken.toStdString();
  }
}

TEST(TextPreparationRandomTest, PrepareTextMatchesTheLiteralLoop) {
  RandomTexts random(20240611);
  const QString alphabets[] = {QStringLiteral("ab"), QStringLiteral("aAb"), QStringLiteral("abcAB"),
                               QStringLiteral("ab_ *")};
  for (int round = 0; round < 6000; ++round) {
    const QString& alphabet = alphabets[round % 4];
    const QString text = random.Text(alphabet, round % 10 == 0 ? 60 : 24);
    const PronunciationTable table = random.Table(alphabet, 8, 3, round % 3 == 0 ? 6 : 3);
    PreparationInputs inputs;
    inputs.ignore_characters = random.Between(0, 3) == 0;
    inputs.ignored_characters = random.Text(QStringLiteral("_* b"), 3);
    inputs.words_corrections = random.Between(0, 7) != 0;
    inputs.corrections = &table;
    ASSERT_EQ(PrepareText(text, inputs), literal::PrepareText(text, inputs))
        << Describe(text, table) << " ignoring \"" << inputs.ignored_characters.toStdString()
        << "\"" << (inputs.ignore_characters ? " on" : " off")
        << (inputs.words_corrections ? "" : " corrections off");
  }
}

// Chunks: a text cut wherever a character occurs in no row gives the same
// result as the whole text, whatever the chunk size.
TEST(TextPreparationRandomTest, ChunkedCorrectionsMatchTheLiteralLoop) {
  RandomTexts random(4242);
  for (int round = 0; round < 3000; ++round) {
    const QString text = random.Text(QStringLiteral("abA _."), 40);
    const PronunciationTable table = random.Table(
        round % 2 ? QStringLiteral("abA") : QStringLiteral("abA_"), 5, 3, round % 3 == 0 ? 5 : 2);
    std::vector<CorrectionRow> rows;
    for (const PronunciationEntry& entry : table) {
      rows.push_back(MakeCorrectionRow(entry.word, entry.pronunciation,
                                       entry.case_sensitive == QLatin1String("No")));
    }
    PreparationInputs inputs;
    inputs.words_corrections = true;
    inputs.corrections = &table;
    const QString expected = literal::PrepareText(text, inputs);
    for (qsizetype chunk : {1, 2, 5, 16}) {
      ASSERT_EQ(ApplyCorrections(text, rows, chunk), expected)
          << Describe(text, table) << " chunk " << chunk;
    }
  }
}

// Large texts and tables: the run-at-once path against rows applied one by
// one with ReplaceAll (the literal loop would take too long here). The sizes
// make runs stop at created occurrences, split at the table bound, and fall
// back when the occurrences of many overlapping words grow too many.
TEST(TextPreparationRandomTest, LargeInputsMatchRowByRowReplacement) {
  RandomTexts random(99);
  auto row_by_row = [](QString text, const PronunciationTable& table) {
    for (const PronunciationEntry& row : table) {
      text = row.case_sensitive == QLatin1String("No")
                 ? ReplaceAllIgnoringCase(text, row.word, row.pronunciation)
                 : ReplaceAll(text, row.word, row.pronunciation);
    }
    return text;
  };
  auto check = [&](const QString& text, const PronunciationTable& table) {
    PreparationInputs inputs;
    inputs.words_corrections = true;
    inputs.corrections = &table;
    EXPECT_EQ(PrepareText(text, inputs), row_by_row(text, table));
  };

  for (int round = 0; round < 20; ++round) {
    check(random.Text(QStringLiteral("abcAB "), 20000),
          random.Table(QStringLiteral("abcAB"), 200, 4, 0, true));
  }

  // Many distinct characters: the transition table bound splits the rows.
  QString wide;
  for (char16_t c = 0x4E00; c < 0x4E00 + 3000; ++c) wide += QChar(c);
  check(random.Text(wide, 30000), random.Table(wide, 400, 200, 0, true));
  // The same with short words, on a text long enough that building the
  // tables costs less than reading the text once per row.
  QString long_wide;
  while (long_wide.size() < 60000) long_wide += random.Text(wide, 1000);
  PronunciationTable short_words;
  for (int row = 0; row < 3000; ++row) {
    const QString word = random.Text(wide, 4);
    short_words.append({word, random.Text(wide, static_cast<int>(word.size())),
                        row % 2 ? QStringLiteral("Yes") : QStringLiteral("No")});
  }
  check(long_wide, short_words);

  // Words longer than a run takes, among short ones.
  const QString long_word = QStringLiteral("ab").repeated(200);
  check(QStringLiteral("x") + long_word + long_word + QStringLiteral("abab"),
        {{QStringLiteral("ab"), QStringLiteral("c"), QStringLiteral("No")},
         {long_word, QStringLiteral("L"), QStringLiteral("Yes")},
         {QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("Yes")}});

  // One character repeated, and words of every length made of it: far more
  // overlapping occurrences than a run may list at once.
  PronunciationTable repeated;
  for (int length = 60; length >= 1; --length) {
    repeated.append({QString(length, QLatin1Char('a')), QStringLiteral("b"), QStringLiteral("No")});
  }
  check(QString(50000, QLatin1Char('a')) + QStringLiteral("a"), repeated);
}

}  // namespace
}  // namespace voxmere
