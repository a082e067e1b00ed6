// SPDX-License-Identifier: GPL-3.0-or-later
// Text preparation speed: a large table on a large text, and the one-row
// replacement loop against the plain splice-per-match loop of the Windows
// program.

#include <benchmark/benchmark.h>

#include <QSet>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "reading/text_preparation.h"

namespace voxmere {
namespace {

// English-like words: the commonest English words first, then made-up words
// of one to four syllables.
std::vector<QString> Vocabulary(std::mt19937& random) {
  const QStringList common = QStringLiteral(
                                 "the of and to a in is that it was for on are as with his they "
                                 "at be this from have or by one had not but what all were when we "
                                 "there can an your which their said if do will each about how up "
                                 "out them then she many some so these would other into has more "
                                 "her two like him see time could no make than first been its who "
                                 "now people my made over did down only way find use may water "
                                 "long little very after words called just where most know")
                                 .split(QLatin1Char(' '));
  std::vector<QString> words(common.begin(), common.end());
  QSet<QString> seen(common.begin(), common.end());
  static const char* const kOnsets[] = {"b",  "c",  "d",  "f",  "g",  "h",  "j",  "k",  "l",
                                        "m",  "n",  "p",  "r",  "s",  "t",  "v",  "w",  "z",
                                        "br", "ch", "cl", "dr", "fl", "gr", "pl", "sh", "st",
                                        "th", "tr", "wh", "",   "",   "",   "sp", "qu", "sc"};
  static const char* const kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou", "ai", "ee", "oo", "y"};
  static const char* const kCodas[] = {"",   "",   "",   "n", "r",  "s", "t",  "l",  "nd",
                                       "st", "ng", "ck", "m", "rt", "x", "ll", "ss", "ght"};
  auto pick = [&](const auto& list) {
    return QString::fromLatin1(
        list[std::uniform_int_distribution<size_t>(0, std::size(list) - 1)(random)]);
  };
  while (words.size() < 20000) {
    QString word;
    const int syllables = std::discrete_distribution<int>({0, 30, 40, 20, 10})(random);
    for (int s = 0; s < syllables; ++s) word += pick(kOnsets) + pick(kVowels) + pick(kCodas);
    if (word.size() > 1 && !seen.contains(word)) {
      seen.insert(word);
      words.push_back(word);
    }
  }
  return words;
}

struct Corpus {
  QString text;
  PronunciationTable table;
};

// About `size` characters: Zipf-distributed words, capitals after a full
// stop, commas, abbreviations, numbers and line breaks; then 1,000 correction
// rows: abbreviations and mid-frequency words, with and without regard to case.
Corpus MakeCorpus(qsizetype size) {
  std::mt19937 random(1234);
  const std::vector<QString> words = Vocabulary(random);
  std::vector<double> cumulative(words.size());
  double sum = 0;
  for (size_t rank = 0; rank < words.size(); ++rank) {
    sum += 1.0 / std::pow(rank + 1.0, 1.05);
    cumulative[rank] = sum;
  }
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto zipf_word = [&]() -> const QString& {
    const double target = unit(random) * sum;
    return words[std::lower_bound(cumulative.begin(), cumulative.end(), target) -
                 cumulative.begin()];
  };
  static const char* const kAbbreviations[][2] = {
      {"Dr", "Doctor"},    {"Mr", "Mister"},        {"Mrs", "Missus"},
      {"St", "Street"},    {"etc", "et cetera"},    {"e.g.", "for example"},
      {"i.e.", "that is"}, {"km", "kilometres"},    {"kg", "kilograms"},
      {"USA", "U S A"},    {"SQL", "sequel"},       {"GNU", "guh new"},
      {"Jan", "January"},  {"Feb", "February"},     {"approx", "approximately"},
      {"No.", "number"},   {"vs", "versus"},        {"Prof", "Professor"},
      {"Ltd", "Limited"},  {"Inc", "Incorporated"}, {"dept", "department"},
      {"min", "minutes"},  {"&", " and "},          {"%", " percent"},
      {"Ave", "Avenue"},   {"Sgt", "Sergeant"},     {"Capt", "Captain"},
      {"Gov", "Governor"}, {"Sen", "Senator"},      {"Rev", "Reverend"},
      {"hrs", "hours"},    {"CPU", "processor"},    {"URL", "link"},
      {"FAQ", "fack"},     {"GUI", "gooey"},        {"ASAP", "as soon as possible"},
      {"Mt", "Mount"},     {"Ft", "Fort"},          {"Jr", "Junior"},
      {"Sr", "Senior"}};

  Corpus corpus;
  QString& text = corpus.text;
  text.reserve(size + 64);
  bool sentence_start = true;
  while (text.size() < size) {
    const double roll = unit(random);
    QString word;
    if (roll < 0.012) {
      word = QString::fromLatin1(kAbbreviations[random() % std::size(kAbbreviations)][0]);
    } else if (roll < 0.02) {
      word = QString::number(random() % 2000);
    } else {
      word = zipf_word();
      if (sentence_start) word[0] = word[0].toUpper();
    }
    text += word;
    sentence_start = false;
    const double end = unit(random);
    if (end < 0.06) {
      text += QStringLiteral(". ");
      sentence_start = true;
      if (unit(random) < 0.2) text += QStringLiteral("\r\n");
    } else if (end < 0.13) {
      text += QStringLiteral(", ");
    } else {
      text += QLatin1Char(' ');
    }
  }

  for (const auto& abbreviation : kAbbreviations) {
    corpus.table.append({QString::fromLatin1(abbreviation[0]), QString::fromLatin1(abbreviation[1]),
                         random() % 2 ? QStringLiteral("Yes") : QStringLiteral("No")});
  }
  // Mid-frequency words, respelled syllable by syllable; some written with a
  // capital, as names are.
  while (corpus.table.size() < 1000) {
    const QString& word = words[50 + random() % 4000];
    QString spoken;
    for (QChar c : word) {
      spoken += c;
      if (QStringLiteral("aeiouy").contains(c) && unit(random) < 0.5) spoken += QLatin1Char('h');
    }
    spoken += QLatin1Char('-');
    QString entered = word;
    if (unit(random) < 0.2) entered[0] = entered[0].toUpper();
    corpus.table.append(
        {entered, spoken, unit(random) < 0.5 ? QStringLiteral("Yes") : QStringLiteral("No")});
  }
  return corpus;
}

void BM_TenMegabytesThousandRows(benchmark::State& state) {
  static const Corpus corpus = MakeCorpus(10 * 1000 * 1000);
  PreparationInputs inputs;
  inputs.ignore_characters = true;
  inputs.ignored_characters = QStringLiteral("*\\/\"`_~");
  inputs.words_corrections = true;
  inputs.corrections = &corpus.table;
  qsizetype changed = 0;
  for (auto _ : state) {
    const QString prepared = PrepareText(corpus.text, inputs);
    changed = prepared.size() - corpus.text.size();
    benchmark::DoNotOptimize(prepared.constData());
  }
  state.counters["text_chars"] = static_cast<double>(corpus.text.size());
  state.counters["rows"] = static_cast<double>(corpus.table.size());
  state.counters["growth_chars"] = static_cast<double>(changed);
}
BENCHMARK(BM_TenMegabytesThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same with one more row whose pronunciation holds every character of the
// text: no character is then left that no row reads or writes, and the text
// cannot be cut into chunks.
void BM_TenMegabytesThousandRowsOneChunk(benchmark::State& state) {
  static const Corpus corpus = [] {
    Corpus c = MakeCorpus(10 * 1000 * 1000);
    QSet<QChar> characters(c.text.begin(), c.text.end());
    QString all;
    for (QChar ch : characters) all += ch;
    c.table.append({QStringLiteral("\u0001"), all, QStringLiteral("Yes")});
    return c;
  }();
  PreparationInputs inputs;
  inputs.words_corrections = true;
  inputs.corrections = &corpus.table;
  for (auto _ : state) {
    const QString prepared = PrepareText(corpus.text, inputs);
    benchmark::DoNotOptimize(prepared.constData());
  }
  state.counters["rows"] = static_cast<double>(corpus.table.size());
}
BENCHMARK(BM_TenMegabytesThousandRowsOneChunk)->Unit(benchmark::kMillisecond)->Iterations(3);

// A short selection (a sentence of Chinese) with a large table of words in
// thousands of distinct characters: each run's transition table is large,
// and building them all would cost far more than reading the text once per row.
void BM_ShortTextLargeWideTable(benchmark::State& state) {
  static const PronunciationTable table = [] {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> character(0x4E00, 0x4E00 + 2999);
    PronunciationTable t;
    for (int row = 0; row < 20000; ++row) {
      QString word;
      for (int i = 0; i < 4; ++i) word += QChar(char16_t(character(random)));
      t.append({word, QStringLiteral("x"), QStringLiteral("Yes")});
    }
    return t;
  }();
  static const QString text = QString(table[7].word + table[19999].word).repeated(25);
  PreparationInputs inputs;
  inputs.words_corrections = true;
  inputs.corrections = &table;
  for (auto _ : state) {
    const QString prepared = PrepareText(text, inputs);
    benchmark::DoNotOptimize(prepared.constData());
  }
  state.counters["text_chars"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ShortTextLargeWideTable)->Unit(benchmark::kMillisecond);

// One megabyte with a match every ten characters.
const QString& DenseText() {
  static const QString text = QStringLiteral("Dr Smith, ").repeated(100 * 1000);
  return text;
}

// The Windows program's loop: search, then splice the text at the match
// (in place, moving the rest of the text each time).
QString SplicePerMatch(QString result, const QString& word, const QString& replacement) {
  qsizetype start = 0;
  while (true) {
    const qsizetype p = result.indexOf(word, start);
    if (p < 0) return result;
    result.replace(p, word.size(), replacement);
    start = p + 1;
  }
}

void BM_DenseMatchesPrepareText(benchmark::State& state) {
  const PronunciationTable table = {
      {QStringLiteral("Dr"), QStringLiteral("Doctor"), QStringLiteral("Yes")}};
  PreparationInputs inputs;
  inputs.words_corrections = true;
  inputs.corrections = &table;
  for (auto _ : state) {
    const QString prepared = PrepareText(DenseText(), inputs);
    benchmark::DoNotOptimize(prepared.constData());
  }
}
BENCHMARK(BM_DenseMatchesPrepareText)->Unit(benchmark::kMillisecond);

void BM_DenseMatchesSplicePerMatch(benchmark::State& state) {
  for (auto _ : state) {
    const QString prepared =
        SplicePerMatch(DenseText(), QStringLiteral("Dr"), QStringLiteral("Doctor"));
    benchmark::DoNotOptimize(prepared.constData());
  }
}
BENCHMARK(BM_DenseMatchesSplicePerMatch)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace voxmere
