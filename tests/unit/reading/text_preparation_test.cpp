// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/text_preparation.h"

#include <gtest/gtest.h>

#include "unit/reading/literal_text_preparation.h"

namespace voxmere {
namespace {

PronunciationEntry Row(const QString& word, const QString& pronunciation, const char* flag) {
  return {word, pronunciation, QString::fromLatin1(flag)};
}

QString Corrected(const QString& text, const PronunciationTable& table) {
  PreparationInputs inputs;
  inputs.words_corrections = true;
  inputs.corrections = &table;
  const QString prepared = PrepareText(text, inputs);
  // Every case here also holds for the plain splice-per-match loop.
  EXPECT_EQ(prepared, literal::PrepareText(text, inputs)) << text.toStdString();
  return prepared;
}

QString Ignored(const QString& text, const QString& characters) {
  PreparationInputs inputs;
  inputs.ignore_characters = true;
  inputs.ignored_characters = characters;
  return PrepareText(text, inputs);
}

TEST(TextPreparationTest, SwitchedOffOrEmptyChangesNothing) {
  const QString captured = QStringLiteral("  Dr. Smith_*\r\n\ttabs ~ and \U0001F600  ");
  const PronunciationTable table = {Row("Dr", "Doctor", "No"), Row("a", "b", "Yes")};
  PreparationInputs off;
  off.ignored_characters = QStringLiteral("*_~");
  off.corrections = &table;
  EXPECT_EQ(PrepareText(captured, off), captured);
  EXPECT_EQ(PrepareText(QString(), off), QString());

  PreparationInputs on = off;
  on.ignore_characters = true;
  on.words_corrections = true;
  EXPECT_EQ(PrepareText(QString(), on), QString());
  EXPECT_EQ(Ignored(captured, QString()), captured);
  // Switched on with no table to read.
  on.corrections = nullptr;
  EXPECT_EQ(PrepareText(QStringLiteral("Dr"), on), QStringLiteral("Dr"));
}

TEST(TextPreparationTest, IgnoredCharactersBecomeBlanks) {
  const QString defaults = QStringLiteral("*\\/\"`_~");
  EXPECT_EQ(Ignored(QStringLiteral("a*b\\c/d\"e`f_g~h"), defaults),
            QStringLiteral("a b c d e f g h"));
  EXPECT_EQ(Ignored(QStringLiteral("two_words"), defaults), QStringLiteral("two words"));
  // A blank or a character listed twice changes nothing more.
  EXPECT_EQ(Ignored(QStringLiteral("a b_c"), QStringLiteral(" __")), QStringLiteral("a b c"));
  // A character outside the BMP is one character: its pair becomes one blank.
  EXPECT_EQ(Ignored(QStringLiteral("x\U0001F600y\U0001F601"), QStringLiteral("\U0001F600")),
            QStringLiteral("x y\U0001F601"));
  // A listed lone surrogate half never splits a pair, but matches a lone half.
  const QString lone_high = QString(QChar(0xD83D));
  EXPECT_EQ(Ignored(QStringLiteral("\U0001F600") + lone_high + QStringLiteral("z"), lone_high),
            QStringLiteral("\U0001F600 z"));
  // A text given over is blanked where it lies, not held a second time; the
  // caller's own copy is left alone.
  QString given = QString::fromLatin1("a_b");
  const QChar* buffer = given.constData();
  const QString blanked = BlankIgnoredCharacters(std::move(given), QStringLiteral("_"));
  EXPECT_EQ(blanked.constData(), buffer);
  const QString kept = QStringLiteral("c_d");
  EXPECT_EQ(BlankIgnoredCharacters(kept, QStringLiteral("_")), QStringLiteral("c d"));
  EXPECT_EQ(kept, QStringLiteral("c_d"));
  // The ignore pass runs first: a correction containing an ignored character
  // never matches.
  const PronunciationTable table = {Row("a_b", "X", "Yes"), Row("a b", "Y", "Yes")};
  PreparationInputs inputs;
  inputs.ignore_characters = true;
  inputs.ignored_characters = QStringLiteral("_");
  inputs.words_corrections = true;
  inputs.corrections = &table;
  EXPECT_EQ(PrepareText(QStringLiteral("a_b"), inputs), QStringLiteral("Y"));
}

TEST(TextPreparationTest, CaseFlagDecidesHowWordsMatch) {
  EXPECT_EQ(Corrected(QStringLiteral("dr DR Dr dR"), {Row("Dr", "Doctor", "No")}),
            QStringLiteral("Doctor Doctor Doctor Doctor"));
  EXPECT_EQ(Corrected(QStringLiteral("dr DR Dr dR"), {Row("Dr", "Doctor", "Yes")}),
            QStringLiteral("dr DR Doctor dR"));
  // Only "No", exactly, means without regard to case.
  EXPECT_EQ(Corrected(QStringLiteral("dr Dr"), {Row("Dr", "X", "yes")}), QStringLiteral("dr X"));
  EXPECT_EQ(Corrected(QStringLiteral("dr Dr"), {Row("Dr", "X", "no")}), QStringLiteral("dr X"));
  EXPECT_EQ(Corrected(QStringLiteral("dr Dr"), {Row("Dr", "X", "")}), QStringLiteral("dr X"));
  // Only A to Z fold: É does not match é; text outside matches keeps its case.
  EXPECT_EQ(Corrected(QStringLiteral("\u00E9t\u00E9 \u00C9T\u00C9"),
                      {Row(QStringLiteral("\u00C9t\u00C9"), "x", "No")}),
            QStringLiteral("\u00E9t\u00E9 x"));
  EXPECT_EQ(ReplaceAllIgnoringCase(QStringLiteral("ABCabc"), QStringLiteral("bC"), "-"),
            QStringLiteral("A-a-"));
  // Corrections match inside words too.
  EXPECT_EQ(Corrected(QStringLiteral("concatenate"), {Row("cat", "dog", "Yes")}),
            QStringLiteral("condogenate"));
}

TEST(TextPreparationTest, RowsApplyInTableOrderOnEachOthersResults) {
  EXPECT_EQ(Corrected("a", {Row("a", "b", "Yes"), Row("b", "c", "Yes")}), QStringLiteral("c"));
  EXPECT_EQ(Corrected("a", {Row("b", "c", "Yes"), Row("a", "b", "Yes")}), QStringLiteral("b"));
  // A later row finds its word inside an earlier row's pronunciation, across
  // the border of a pronunciation, and across a removal.
  EXPECT_EQ(Corrected("Dr Who", {Row("Dr", "Doctor", "No"), Row("oc", "OC", "Yes")}),
            QStringLiteral("DOCtor Who"));
  EXPECT_EQ(Corrected("abc", {Row("ab", "x", "Yes"), Row("xc", "y", "Yes")}), QStringLiteral("y"));
  EXPECT_EQ(Corrected("aXbc", {Row("X", "", "Yes"), Row("ab", "!", "Yes")}), QStringLiteral("!c"));
  // The same word twice: the second row sees what the first one left.
  EXPECT_EQ(Corrected("Dr dr", {Row("Dr", "Drive", "Yes"), Row("dr", "drive", "No")}),
            QStringLiteral("driveive drive"));
  // A row whose word is empty changes nothing.
  EXPECT_EQ(Corrected("abc", {Row("", "x", "No"), Row("", "", "Yes")}), QStringLiteral("abc"));
}

TEST(TextPreparationTest, SearchRestartsOneCharacterIntoTheInsertedText) {
  // An empty pronunciation removes its word and the search skips one
  // character after the removal point.
  EXPECT_EQ(ReplaceAll("xxx", "x", ""), QStringLiteral("x"));
  EXPECT_EQ(ReplaceAll("x x x", "x", ""), QStringLiteral("  "));
  EXPECT_EQ(ReplaceAll("abababc", "ab", ""), QStringLiteral("abc"));
  // A pronunciation that begins with its word, without containing it again,
  // replaces every occurrence once.
  EXPECT_EQ(ReplaceAll("5 km or 7 km", "km", "km kilometres"),
            QStringLiteral("5 km kilometres or 7 km kilometres"));
  // A match may begin inside the inserted text and run into the rest.
  EXPECT_EQ(ReplaceAll("abb", "ab", "ca"), QStringLiteral("cca"));
  EXPECT_EQ(ReplaceAll("abbb", "ab", "ca"), QStringLiteral("ccca"));
  EXPECT_EQ(ReplaceAllIgnoringCase("aBB", "ab", "cA"), QStringLiteral("ccA"));
  EXPECT_EQ(Corrected("abbx", {Row("ab", "ca", "Yes"), Row("ca", "-", "Yes")}),
            QStringLiteral("c-x"));
  // Replacement of one character: the search goes on right after it.
  EXPECT_EQ(ReplaceAll("aaa", "a", "b"), QStringLiteral("bbb"));
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), QStringLiteral("aa"));
  // The word must fit in the text.
  EXPECT_EQ(ReplaceAll("ab", "abc", "x"), QStringLiteral("ab"));
  EXPECT_EQ(ReplaceAll("", "a", "x"), QString());
}

TEST(TextPreparationTest, LoopThatWouldNeverEndResumesAfterTheInsertedText) {
  // The pronunciation contains its word after the first character: the
  // Windows program's loop never ends; here every original match is replaced once.
  EXPECT_EQ(ReplaceAll("a a", "a", "ba"), QStringLiteral("ba ba"));
  EXPECT_EQ(ReplaceAll("aa", "a", "aa"), QStringLiteral("aaaa"));
  EXPECT_EQ(ReplaceAll("SQL", "SQL", "the SQL"), QStringLiteral("the SQL"));
  // As the row compares: without regard to case "xX" contains "x" again.
  EXPECT_EQ(ReplaceAllIgnoringCase("x-X", "x", "xX"), QStringLiteral("xX-xX"));
  EXPECT_EQ(ReplaceAll("x-X", "x", "xX"), QStringLiteral("xX-X"));
  EXPECT_EQ(Corrected("km, KM", {Row("km", "Km km", "No"), Row("km", "kilometre", "Yes")}),
            QStringLiteral("Km kilometre, Km kilometre"));
  // A large text ends too, each match replaced once.
  const QString big = QString(100000, QLatin1Char('a'));
  EXPECT_EQ(ReplaceAll(big, "a", "ba"), QStringLiteral("ba").repeated(100000));
}

}  // namespace
}  // namespace voxmere
