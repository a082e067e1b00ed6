// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as words.ini: reading never fails, every line gives one
// entry, every entry read can be stored, and a save reads back as the same
// table in the same file encoding where possible.
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_check.h"
#include "platform/exception.h"
#include "pronunciation/words_file.h"
#include "settings/settings_text.h"

namespace voxmere {
namespace {

// Lines as the reader counts them: CR LF, CR or LF end a line; a final line
// end starts no new line.
qsizetype CountLines(const QString& text) {
  qsizetype lines = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      ++lines;
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    }
  }
  const bool open_last = !text.isEmpty() && text.back() != u'\r' && text.back() != u'\n';
  return lines + (open_last ? 1 : 0);
}

void Check(const QByteArray& bytes) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("words.ini"));
  {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
  }
  PronunciationTable table;
  TextEncoding encoding = TextEncoding::kUtf8;
  RestoreWords(path, table, &encoding);

  const DecodedText decoded = DecodeSettingsText(bytes);
  FUZZ_CHECK(encoding == decoded.encoding);
  FUZZ_CHECK(table == ParseWords(decoded.text));
  FUZZ_CHECK(table.size() == CountLines(decoded.text));
  for (const PronunciationEntry& entry : table) {
    FUZZ_CHECK(!entry.word.contains(kWordsSeparator));
    FUZZ_CHECK(!entry.pronunciation.contains(kWordsSeparator));
    FUZZ_CHECK(WordsEntryProblem(entry).isEmpty());
  }
  // The text round trip, then the file round trip in the file's own encoding.
  FUZZ_CHECK(ParseWords(FormatWords(table)) == table);
  try {
    SaveWords(path, table, encoding);
  } catch (const Exception& e) {
    std::fprintf(stderr, "save failed: %s\n", e.what());
    std::abort();
  }
  PronunciationTable again;
  RestoreWords(path, again);
  FUZZ_CHECK(again == table);
  // A file that the reader took for Windows-1252 stays so unless its text
  // would then read back differently.
  if (encoding == TextEncoding::kWindows1252) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const QString text = FormatWords(table);
    const QByteArray ansi = EncodeSettingsText(text, TextEncoding::kWindows1252);
    if (DecodeSettingsText(ansi).text == text && !text.isEmpty()) FUZZ_CHECK(written == ansi);
  }
}

}  // namespace
}  // namespace voxmere

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  voxmere::Check(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  return 0;
}
