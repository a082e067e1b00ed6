// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include "platform/exception.h"

namespace voxmere {
namespace {

IniDocument Doc(const char* bytes) { return IniDocument::FromBytes(QByteArray(bytes)); }

TEST(IniDocumentTest, ReadsWithTheProfileRules) {
  const IniDocument doc =
      Doc("HotKey=1\r\n"  // before any section: belongs to none
          "[General]\r\n"
          "; HotKey=2\r\n"
          "  hotkey =  0x802D  \r\n"
          "HotKey=3\r\n"
          "Name=\r\n"
          "Flag=abc\r\n"
          "[ general ]\r\n"
          "Other=4\r\n"
          "[Speech]\n"
          "Voice = Alpha (SAPI5) = x \r");
  // Case-insensitive names; the first section and the first key win.
  EXPECT_EQ(doc.ReadInteger(u"GENERAL", u"HOTKEY", 0), 32813);
  EXPECT_EQ(doc.ReadString(u"General", u"HotKey", "d"), QStringLiteral("0x802D"));
  EXPECT_EQ(doc.ReadString(u"General", u"Other", "d"), QStringLiteral("d"));
  // Everything after the first "=" is the value, trimmed.
  EXPECT_EQ(doc.ReadString(u"speech", u"voice", "d"), QStringLiteral("Alpha (SAPI5) = x"));
  // An empty value is a value; a missing key gives the default.
  EXPECT_EQ(doc.ReadString(u"General", u"Name", "d"), QStringLiteral(""));
  EXPECT_EQ(doc.ReadString(u"General", u"Missing", "d"), QStringLiteral("d"));
  EXPECT_EQ(doc.ReadString(u"Missing", u"HotKey", "d"), QStringLiteral("d"));
  EXPECT_EQ(doc.ReadInteger(u"General", u"Flag", 9), 9);
  EXPECT_EQ(doc.ReadInteger(u"General", u"Name", 9), 9);

  EXPECT_EQ(doc.KeyNames(u"general"), (QStringList{"hotkey", "HotKey", "Name", "Flag"}));
  EXPECT_TRUE(doc.HasKeys(u"Speech"));
  EXPECT_FALSE(doc.HasKeys(u"Nowhere"));
  EXPECT_FALSE(Doc("[Slot_0]\r\n\r\n; nothing\r\n[Slot_1]\r\nVoice=A\r\n").HasKeys(u"Slot_0"));
}

TEST(IniDocumentTest, ReadsBooleansAsIntegersAndCutsLongValues) {
  QByteArray bytes("[G]\r\nOn=1\r\nTwo=2\r\nOff=0\r\nJunk=yes\r\nEmpty=\r\nLong=");
  bytes.append(QByteArray(2100, 'v'));
  const IniDocument doc = IniDocument::FromBytes(bytes);
  EXPECT_TRUE(doc.ReadBool(u"G", u"On", false));
  EXPECT_TRUE(doc.ReadBool(u"G", u"Two", false));
  EXPECT_FALSE(doc.ReadBool(u"G", u"Off", true));
  EXPECT_TRUE(doc.ReadBool(u"G", u"Junk", true));
  EXPECT_FALSE(doc.ReadBool(u"G", u"Junk", false));
  EXPECT_TRUE(doc.ReadBool(u"G", u"Empty", true));
  EXPECT_TRUE(doc.ReadBool(u"G", u"Missing", true));
  EXPECT_EQ(doc.ReadString(u"G", u"Long", "").size(), 2047);
}

TEST(IniDocumentTest, WritesInPlaceAfterTheLastKeyOrAtTheEnd) {
  IniDocument doc =
      Doc("[General]\r\n"
          "HotKey = 5\r\n"
          "; note\r\n"
          "MinimizeToTray=1\n"
          "\r\n"
          "[Speech]\r\n"
          "Voice=Alpha");
  doc.WriteInteger(u"general", u"HOTKEY", 16392);  // keeps the file's spelling
  doc.WriteBool(u"General", u"CloseMsg", true);    // after the last key, before the blank
  doc.WriteString(u"Speech", u"Speed", u"150");    // last line gets a line end first
  doc.WriteString(u"Pronunciation", u"IgnoredCharacters", u"*\\/\"`_~");
  EXPECT_EQ(doc.ToBytes(), QByteArray("[General]\r\n"
                                      "HotKey=16392\r\n"
                                      "; note\r\n"
                                      "MinimizeToTray=1\n"
                                      "CloseMsg=1\r\n"
                                      "\r\n"
                                      "[Speech]\r\n"
                                      "Voice=Alpha\r\n"
                                      "Speed=150\r\n"
                                      "[Pronunciation]\r\n"
                                      "IgnoredCharacters=*\\/\"`_~\r\n"));

  // A header without keys takes the first key right under it.
  IniDocument empty_section = Doc("[Slot_0]\r\n\r\n[Slot_1]\r\nVoice=B\r\n");
  empty_section.WriteString(u"Slot_0", u"Voice", u"A");
  EXPECT_EQ(empty_section.ToBytes(),
            QByteArray("[Slot_0]\r\nVoice=A\r\n\r\n[Slot_1]\r\nVoice=B\r\n"));

  IniDocument fresh;
  fresh.WriteBool(u"General", u"FirstRun", false);
  EXPECT_EQ(fresh.ToBytes(), QByteArray("[General]\r\nFirstRun=0\r\n"));
}

TEST(IniDocumentTest, KeepsAWindowsFileByteForByteAroundAWrite) {
  // As the Windows program leaves it: CR LF lines, a lone-CR separator line
  // between the sections, Windows-1252 text.
  const QByteArray original(
      "[General]\r\n"
      "HotKey=16392\r\n"
      "Comment=Caf\xE9 \x80\r\n"
      "\r\r\n"
      "[Pronunciation]\r\n"
      "IgnoredCharacters=*\\/\"`_~\r\n");
  IniDocument doc = IniDocument::FromBytes(original);
  EXPECT_EQ(doc.Encoding(), TextEncoding::kWindows1252);
  EXPECT_EQ(doc.ToBytes(), original);
  EXPECT_EQ(doc.ReadString(u"General", u"Comment", ""), QStringLiteral("Caf\u00E9 \u20AC"));

  doc.WriteInteger(u"General", u"HotKey", 16506);
  QByteArray expected = original;
  expected.replace("HotKey=16392", "HotKey=16506");
  EXPECT_EQ(doc.ToBytes(), expected);

  // A new key in the first section goes before the separator line.
  doc.WriteString(u"General", u"Name", u"Na\u00EFve");
  expected.replace("\x80\r\n\r\r\n", "\x80\r\nName=Na\xEFve\r\n\r\r\n");
  EXPECT_EQ(doc.ToBytes(), expected);

  // A character outside the code page turns the file into UTF-8, losing nothing.
  doc.WriteString(u"General", u"Name", u"\u03A9");
  const IniDocument reread = IniDocument::FromBytes(doc.ToBytes());
  EXPECT_EQ(reread.ReadString(u"General", u"Name", ""), QStringLiteral("\u03A9"));
  EXPECT_EQ(reread.ReadString(u"General", u"Comment", ""), QStringLiteral("Caf\u00E9 \u20AC"));
}

TEST(IniDocumentTest, NeverLetsAnEditedWindows1252FileReadBackDifferently) {
  // "Ã©" in Windows-1252 is the UTF-8 form of "é". Once the only byte that
  // made the file invalid UTF-8 is gone, the file must not read back as "é".
  IniDocument doc = IniDocument::FromBytes(QByteArray("[S]\r\nA=\xC3\xA9\r\nB=\xFF\r\n"));
  ASSERT_EQ(doc.Encoding(), TextEncoding::kWindows1252);
  ASSERT_TRUE(doc.DeleteKey(u"S", u"B"));
  const IniDocument reread = IniDocument::FromBytes(doc.ToBytes());
  EXPECT_EQ(reread.ReadString(u"S", u"A", ""), QStringLiteral("\u00C3\u00A9"));
}

TEST(IniDocumentTest, DeletesKeysAndRefusesWritesThatWouldBreakTheFile) {
  IniDocument doc = Doc("[S]\r\nA=1\r\nB=2\r\na=3\r\n");
  EXPECT_TRUE(doc.DeleteKey(u"s", u"A"));
  EXPECT_EQ(doc.ToBytes(), QByteArray("[S]\r\nB=2\r\na=3\r\n"));
  EXPECT_EQ(doc.ReadInteger(u"S", u"A", 0), 3);  // the next one now comes first
  EXPECT_FALSE(doc.DeleteKey(u"S", u"Missing"));
  EXPECT_FALSE(doc.DeleteKey(u"Missing", u"B"));

  const QByteArray before = doc.ToBytes();
  EXPECT_THROW(doc.WriteString(u"S", u"Key", u"two\r\nlines"), Exception);
  EXPECT_THROW(doc.WriteString(u"S", u"Key", u"lone\rCR"), Exception);
  EXPECT_THROW(doc.WriteString(u"S", u"K=ey", u"v"), Exception);
  EXPECT_THROW(doc.WriteString(u"S", u";Key", u"v"), Exception);
  EXPECT_THROW(doc.WriteString(u"S", u"[Key]", u"v"), Exception);
  EXPECT_THROW(doc.WriteString(u"S", u"  ", u"v"), Exception);
  EXPECT_THROW(doc.WriteString(u"S]", u"Key", u"v"), Exception);
  EXPECT_THROW(doc.WriteString(u"", u"Key", u"v"), Exception);
  EXPECT_THROW(doc.RenameSection(u"S", u"a\nb"), Exception);
  EXPECT_EQ(doc.ToBytes(), before);
}

TEST(IniDocumentTest, ErasesAndRenamesTheFirstMatchingSection) {
  IniDocument doc =
      Doc("[Slot_0]\r\nVoice=A\r\n\r\r\n"
          "[ slot_1 ]\r\nVoice=B\r\n; kept\r\nHotKey=1\n\r\r\n"
          "[Slot_2]\r\nVoice=C\r\n\r\r\n"
          "[Slot_1]\r\nVoice=D");
  doc.EraseSection(u"Slot_1");
  // Keys and header gone, comment stays, every line now ends CR LF, so the
  // lone-CR separators read back as empty lines.
  EXPECT_EQ(doc.ToBytes(), QByteArray("[Slot_0]\r\nVoice=A\r\n\r\n\r\n"
                                      "; kept\r\n\r\n\r\n"
                                      "[Slot_2]\r\nVoice=C\r\n\r\n\r\n"
                                      "[Slot_1]\r\nVoice=D\r\n"));
  EXPECT_EQ(doc.ReadString(u"Slot_1", u"Voice", ""), QStringLiteral("D"));

  EXPECT_TRUE(doc.RenameSection(u"SLOT_2", u"Slot_1"));
  EXPECT_EQ(doc.ReadString(u"Slot_1", u"Voice", ""), QStringLiteral("C"));
  EXPECT_EQ(doc.Lines()[7].text, QStringLiteral("[Slot_1]"));
  EXPECT_FALSE(doc.RenameSection(u"Slot_9", u"Slot_8"));

  IniDocument untouched = Doc("[A]\r\nx=1\r\n");
  untouched.EraseSection(u"B");
  EXPECT_EQ(untouched.ToBytes(), QByteArray("[A]\r\nx=1\r\n"));
}

}  // namespace
}  // namespace voxmere
