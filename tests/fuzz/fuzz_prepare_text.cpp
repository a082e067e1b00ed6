// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a captured text, an ignored-characters list and a few
// correction rows: the fast text preparation must give exactly what the
// plain splice-per-match loop gives.
//
// Layout: byte 0 chooses the switches and the alphabet; the rest is split at
// 0xFF bytes into the text, the ignored characters, then word, pronunciation
// and flag of each row. In the small alphabet every byte becomes one of a few
// letters, so that words overlap and repeat as often as possible.
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "reading/correction_row.h"
#include "reading/corrections.h"
#include "reading/text_preparation.h"
#include "unit/reading/literal_text_preparation.h"

namespace voxmere {
namespace {

constexpr qsizetype kMaxText = 64;
constexpr qsizetype kMaxField = 8;
constexpr int kMaxRows = 8;
constexpr qsizetype kMaxGrowth = 4096;  // the literal loop is slow on large results

QString Decode(const QByteArray& bytes, bool small_alphabet, qsizetype limit) {
  static const char16_t kSmall[] = u"abAB_ *";
  QString text;
  for (qsizetype i = 0; i < bytes.size() && i < limit; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    text += small_alphabet ? QChar(kSmall[b % 7]) : QChar(char16_t(b));
  }
  return text;
}

}  // namespace
}  // namespace voxmere

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace voxmere;
  if (size < 1 || size > 1024) return 0;
  const uint8_t control = data[0];
  const bool small = (control & 4) == 0;
  const QList<QByteArray> parts =
      QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1))
          .split('\xFF');
  const QString text = Decode(parts.value(0), small, kMaxText);
  PronunciationTable table;
  for (qsizetype p = 2; p < parts.size() && table.size() < kMaxRows; p += 3) {
    const QByteArray flag = parts.value(p + 2);
    const char* flag_text = flag.isEmpty()  ? "Yes"
                            : (flag[0] & 1) ? "No"
                            : (flag[0] & 2) ? "no"
                                            : "Yes";
    table.append({Decode(parts.value(p), small, kMaxField),
                  Decode(parts.value(p + 1), small, kMaxField), QString::fromLatin1(flag_text)});
  }
  PreparationInputs inputs;
  inputs.ignore_characters = (control & 1) != 0;
  inputs.ignored_characters = Decode(parts.value(1), small, kMaxField);
  inputs.words_corrections = (control & 2) != 0;
  inputs.corrections = &table;

  // The literal loop, row by row, giving up on results that grow too large.
  PreparationInputs ignore_only = inputs;
  ignore_only.words_corrections = false;
  QString expected = literal::PrepareText(text, ignore_only);
  if (inputs.words_corrections) {
    for (const PronunciationEntry& row : table) {
      expected = literal::ReplaceAll(expected, row.word, row.pronunciation,
                                     row.case_sensitive == QLatin1String("No"));
      if (expected.size() > kMaxGrowth) return 0;
    }
  }
  const QString prepared = PrepareText(text, inputs);
  if (prepared != expected) {
    std::fprintf(stderr, "mismatch\n text: %s\n fast: %s\n literal: %s\n",
                 text.toUtf8().constData(), prepared.toUtf8().constData(),
                 expected.toUtf8().constData());
    std::abort();
  }
  // Cut into chunks of a few characters wherever a character occurs in no
  // row: each chunk on its own must give the same.
  if (inputs.words_corrections) {
    std::vector<CorrectionRow> rows;
    for (const PronunciationEntry& row : table) {
      rows.push_back(MakeCorrectionRow(row.word, row.pronunciation,
                                       row.case_sensitive == QLatin1String("No")));
    }
    const qsizetype chunk = 1 + control / 16;
    if (ApplyCorrections(literal::PrepareText(text, ignore_only), rows, chunk) != expected) {
      std::fprintf(stderr, "chunked mismatch, chunk %lld\n", static_cast<long long>(chunk));
      std::abort();
    }
  }
  // The one-row loops on the first row.
  if (!table.isEmpty()) {
    const PronunciationEntry& row = table.front();
    if (ReplaceAll(text, row.word, row.pronunciation) !=
            literal::ReplaceAll(text, row.word, row.pronunciation, false) ||
        ReplaceAllIgnoringCase(text, row.word, row.pronunciation) !=
            literal::ReplaceAll(text, row.word, row.pronunciation, true)) {
      std::fprintf(stderr, "one-row mismatch\n");
      std::abort();
    }
  }
  return 0;
}
