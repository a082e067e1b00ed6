// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/exception.h"

namespace voxmere {
namespace {

TEST(SettingsTextTest, DecodesUtf8AndFallsBackToWindows1252) {
  // "Café" in UTF-8 stays UTF-8.
  DecodedText utf8 = DecodeSettingsText(QByteArray("Caf\xC3\xA9"));
  EXPECT_EQ(utf8.text, QStringLiteral("Caf\u00E9"));
  EXPECT_EQ(utf8.encoding, TextEncoding::kUtf8);

  // The same word as the Windows program writes it, plus the euro sign and a
  // curly quote that only Windows-1252 (not Latin-1) has at 0x80 and 0x93.
  DecodedText ansi = DecodeSettingsText(QByteArray("Caf\xE9 \x80 \x93"));
  EXPECT_EQ(ansi.text, QStringLiteral("Caf\u00E9 \u20AC \u201C"));
  EXPECT_EQ(ansi.encoding, TextEncoding::kWindows1252);
}

TEST(SettingsTextTest, AWindows1252FileThatEndsLikeTheStartOfAUtf8CharacterKeepsItsEnd) {
  // The last byte of "Café" in Windows-1252 is also how a UTF-8 character
  // starts: the file is not UTF-8, and no byte of it may go missing.
  for (const QByteArray& bytes : {QByteArray("Voice=Caf\xE9"), QByteArray("x=\xC3"),
                                  QByteArray("\xEF\xBB\xBFx=\xF0\x9F\x98")}) {
    const DecodedText decoded = DecodeSettingsText(bytes);
    EXPECT_EQ(decoded.encoding, TextEncoding::kWindows1252) << bytes.toHex().constData();
    EXPECT_EQ(EncodeSettingsText(decoded.text, decoded.encoding), bytes)
        << bytes.toHex().constData();
  }
  EXPECT_EQ(DecodeSettingsText(QByteArray("Voice=Caf\xE9")).text,
            QStringLiteral("Voice=Caf\u00E9"));
}

TEST(SettingsTextTest, EncodingRoundTripsAndNeverLosesCharacters) {
  const QByteArray ansi("Caf\xE9 \x80 \x9F\x81");
  DecodedText decoded = DecodeSettingsText(ansi);
  EXPECT_EQ(EncodeSettingsText(decoded.text, decoded.encoding), ansi);

  // A character outside Windows-1252 turns the file into UTF-8 rather than a '?'.
  const QString greek = decoded.text + QStringLiteral("\u03A9");
  const QByteArray bytes = EncodeSettingsText(greek, TextEncoding::kWindows1252);
  EXPECT_EQ(DecodeSettingsText(bytes).text, greek);

  // Windows-1252 bytes that would read back as UTF-8 ("Ã©" is C3 A9, which is
  // UTF-8 for "é") are written as UTF-8 instead, so the text stays as it is.
  const QString mojibake = QStringLiteral("Ã©");
  EXPECT_EQ(DecodeSettingsText(EncodeSettingsText(mojibake, TextEncoding::kWindows1252)).text,
            mojibake);
  // A text that starts with U+FEFF keeps it through a byte-order mark.
  const QString zwnbsp = QStringLiteral("﻿x");
  EXPECT_EQ(DecodeSettingsText(EncodeSettingsText(zwnbsp, TextEncoding::kUtf8)).text, zwnbsp);
  EXPECT_EQ(DecodeSettingsText(QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx")).text, zwnbsp);

  // A byte-order mark is dropped on read and written back.
  DecodedText bom = DecodeSettingsText(QByteArray("\xEF\xBB\xBFx=1"));
  EXPECT_EQ(bom.text, QStringLiteral("x=1"));
  EXPECT_EQ(EncodeSettingsText(bom.text, bom.encoding), QByteArray("\xEF\xBB\xBFx=1"));
}

TEST(SettingsTextTest, WritesAtomicallyAndReportsTheFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("sub/cfg.ini"));
  EXPECT_FALSE(ReadSettingsBytes(path).has_value());
  WriteSettingsBytes(path, "one");
  WriteSettingsBytes(path, "two");
  EXPECT_EQ(*ReadSettingsBytes(path), QByteArray("two"));
  EXPECT_EQ(QDir(dir.filePath("sub")).entryList(QDir::Files), QStringList{"cfg.ini"});

  // A folder in the way of the file: the write fails, names the file, and the
  // old content elsewhere is untouched.
  const QString blocked = dir.filePath(QStringLiteral("blocked"));
  QDir().mkpath(blocked + "/cfg.ini");
  try {
    WriteSettingsBytes(blocked + "/cfg.ini", "x");
    FAIL() << "write into a folder succeeded";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("cfg.ini"))) << e.Message().toStdString();
  }
  DeleteSettingsFile(path);
  DeleteSettingsFile(path);  // a missing file is no failure
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace voxmere
