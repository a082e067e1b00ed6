// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/clipboard_targets.h"

#include <gtest/gtest.h>

namespace voxmere {
namespace {

TEST(ClipboardTargetsTest, KeepsDataFormatsOnly) {
  for (const char* data :
       {"image/png", "text/html", "text/uri-list", "text/plain;charset=utf-8", "COMPOUND_TEXT",
        "application/x-qt-image", "x-special/gnome-copied-files", "chromium/x-web-custom-data"}) {
    EXPECT_TRUE(IsSavedTarget(data)) << data;
  }
  // The protocol's requests, facts about the owner (xterm offers all of
  // these with its selection), and the text forms that the saved text
  // offers again.
  for (const char* other :
       {"TARGETS",     "MULTIPLE",      "TIMESTAMP", "SAVE_TARGETS", "DELETE",
        "INCR",        "CLIENT_WINDOW", "HOSTNAME",  "IP_ADDRESS",   "USER",
        "CLASS",       "NAME",          "OWNER_OS",  "LENGTH",       "LIST_LENGTH",
        "UTF8_STRING", "STRING",        "TEXT",      "text/plain",   ""}) {
    EXPECT_FALSE(IsSavedTarget(other)) << other;
  }
  // Names are exact: case matters to X.
  EXPECT_TRUE(IsSavedTarget("Targets"));
}

TEST(ClipboardTargetsTest, TextTargetsComeBestFirstAndOnlyWhenOffered) {
  EXPECT_EQ(TextTargets({"TARGETS", "STRING", "UTF8_STRING", "TEXT"}),
            (QByteArrayList{"UTF8_STRING", "STRING"}));
  EXPECT_EQ(TextTargets({"text/plain", "text/plain;charset=utf-8"}),
            (QByteArrayList{"text/plain;charset=utf-8", "text/plain"}));
  // An owner of a picture alone offers no text: nothing is asked for.
  EXPECT_EQ(TextTargets({"TARGETS", "image/png"}), QByteArrayList{});
  // An owner that does not list its targets is asked for each.
  EXPECT_EQ(TextTargets({}),
            (QByteArrayList{"UTF8_STRING", "text/plain;charset=utf-8", "STRING", "text/plain"}));
}

TEST(ClipboardTargetsTest, DecodesByTargetAndEndsAtTheFirstZero) {
  const QString e_acute(QChar(0xE9));
  EXPECT_EQ(DecodeText("UTF8_STRING", "caf\xC3\xA9"), "caf" + e_acute);
  EXPECT_EQ(DecodeText("text/plain;charset=utf-8", "caf\xC3\xA9"), "caf" + e_acute);
  // STRING is Latin-1: the same bytes read as two characters.
  EXPECT_EQ(DecodeText("STRING", "caf\xC3\xA9"), "caf" + QString(QChar(0xC3)) + QChar(0xA9));
  EXPECT_EQ(DecodeText("STRING", "caf\xE9"), "caf" + e_acute);
  EXPECT_EQ(DecodeText("UTF8_STRING", QByteArray("before\0after", 12)), "before");
  EXPECT_EQ(DecodeText("UTF8_STRING", QByteArray("\0x", 2)), "");
  EXPECT_EQ(DecodeText("UTF8_STRING", ""), "");
  // Line ends and blanks are kept as they are.
  EXPECT_EQ(DecodeText("UTF8_STRING", " two\r\nlines \n"), " two\r\nlines \n");
}

}  // namespace
}  // namespace voxmere
