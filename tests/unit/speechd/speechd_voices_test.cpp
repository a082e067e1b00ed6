// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/speechd/speechd_address.h"
#include "platform/speechd/speechd_voices.h"
#include "platform/speechd/ssip_socket.h"

namespace voxmere {
namespace {

std::vector<QString> Descriptions(const std::vector<SpeechdVoice>& voices) {
  std::vector<QString> out;
  for (const SpeechdVoice& voice : voices) out.push_back(voice.description);
  return out;
}

TEST(SpeechdVoicesTest, ListedLinesGiveTheBaseVoicesOfEachModule) {
  const std::vector<SpeechdVoice> espeak = ParseSynthesisVoices(
      QStringLiteral("espeak-ng"), {"Afrikaans\taf\tnone", "Afrikaans+Adam\taf\tAdam",
                                    "English (America)\ten-us\tnone", "\ten\tnone", "Lone"});
  ASSERT_EQ(espeak.size(), 4u);  // the line without a name is skipped
  EXPECT_EQ(espeak[2].name, QStringLiteral("English (America)"));
  EXPECT_EQ(espeak[2].language, QStringLiteral("en-us"));
  EXPECT_EQ(espeak[3].language, QString());

  std::vector<SpeechdVoice> all = espeak;
  // A module that lists only variants keeps them.
  for (const SpeechdVoice& voice :
       ParseSynthesisVoices(QStringLiteral("odd"), {"One\ten\tsoft", "Two\ten\tloud"})) {
    all.push_back(voice);
  }
  std::vector<QString> names;
  for (const SpeechdVoice& voice : BaseVoices(all)) names.push_back(voice.name);
  EXPECT_EQ(names, (std::vector<QString>{"Afrikaans", "English (America)", "Lone", "One", "Two"}));
}

TEST(SpeechdVoicesTest, DescriptionsNameVoiceAndLanguageAndAreUnique) {
  EXPECT_EQ(LanguageDisplayName(QStringLiteral("en-us")),
            QStringLiteral("English (United States)"));
  EXPECT_EQ(LanguageDisplayName(QStringLiteral("de")), QStringLiteral("German"));
  EXPECT_EQ(LanguageDisplayName(QStringLiteral("pt_BR")), QStringLiteral("Portuguese (Brazil)"));
  EXPECT_EQ(LanguageDisplayName(QStringLiteral("es-419")),
            QStringLiteral("Spanish (Latin America)"));
  // A territory QLocale does not know is left out, not guessed.
  EXPECT_EQ(LanguageDisplayName(QStringLiteral("en-029")), QStringLiteral("English"));
  EXPECT_EQ(LanguageDisplayName(QStringLiteral("en-zz")), QStringLiteral("English"));
  EXPECT_EQ(LanguageDisplayName(QStringLiteral("art-lojban")), QStringLiteral("art-lojban"));
  EXPECT_EQ(LanguageDisplayName(QStringLiteral("x")), QStringLiteral("x"));
  EXPECT_EQ(LanguageDisplayName(QString()), QString());

  std::vector<SpeechdVoice> voices = {
      {"espeak-ng", "English (America)", "en-us", "none", {}},
      {"festival", "kal_diphone", "en", "none", {}},
      {"espeak-ng", "German", "de", "none", {}},
      {"espeak-ng-mbrola", "German", "de", "none", {}},
      {"rhvoice", "Aleksandr", "ru", "none", {}},
      {"odd", "Same", "", "none", {}},
      {"odd", "Same", "", "none", {}},
  };
  DescribeVoices(voices);
  EXPECT_EQ(Descriptions(voices),
            (std::vector<QString>{"English (America)", "kal_diphone - English",
                                  "German (espeak-ng)", "German (espeak-ng-mbrola)",
                                  "Aleksandr - Russian", "Same (odd)", "Same (odd) #2"}));
}

TEST(SpeechdVoicesTest, RepliesAreCutOutLineByLine) {
  SsipReplyReader reader;
  EXPECT_FALSE(reader.Feed("249-Afrikaans\taf\tnone\r\n249-Eng"));
  EXPECT_FALSE(reader.Feed("lish\ten\tnone\r\n"));
  std::optional<SsipReply> reply = reader.Feed("249 OK VOICE LIST SENT\r\n231 HAPPY");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->code, 249);
  EXPECT_TRUE(reply->Ok());
  EXPECT_EQ(reply->data, (std::vector<QByteArray>{"Afrikaans\taf\tnone", "English\ten\tnone"}));
  EXPECT_EQ(reply->text, QByteArray("OK VOICE LIST SENT"));
  EXPECT_FALSE(reader.Next());
  reply = reader.Feed(" HACKING\n");  // a bare line feed ends a line too
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->code, 231);
  EXPECT_TRUE(reply->data.empty());

  reply = SsipReplyReader().Feed("410 ERR NO SUCH MODULE\r\n");
  ASSERT_TRUE(reply);
  EXPECT_FALSE(reply->Ok());
  EXPECT_THROW(SsipReplyReader().Feed("hello\r\n"), Exception);
  EXPECT_THROW(SsipReplyReader().Feed("20 short\r\n"), Exception);
  EXPECT_THROW(SsipReplyReader().Feed("200:colon\r\n"), Exception);
}

TEST(SpeechdVoicesTest, AddressesReadAsSpeechdAddressWritesThem) {
  const QString fallback = QStringLiteral("/run/user/1/speech-dispatcher/speechd.sock");
  SpeechdAddress address = ParseSpeechdAddress(QStringLiteral("unix_socket:/tmp/s.sock"), fallback);
  EXPECT_EQ(address.method, SpeechdAddress::Method::kUnixSocket);
  EXPECT_EQ(address.socket_path, QStringLiteral("/tmp/s.sock"));
  EXPECT_EQ(address.ToText(), QStringLiteral("unix_socket:/tmp/s.sock"));
  EXPECT_EQ(ParseSpeechdAddress(QStringLiteral("unix_socket"), fallback).socket_path, fallback);
  address = ParseSpeechdAddress(QStringLiteral("inet_socket:speech.example:7000"), fallback);
  EXPECT_EQ(address.method, SpeechdAddress::Method::kInetSocket);
  EXPECT_EQ(address.host, QStringLiteral("speech.example"));
  EXPECT_EQ(address.port, 7000);
  address = ParseSpeechdAddress(QStringLiteral("inet_socket"), fallback);
  EXPECT_EQ(address.host, QStringLiteral("127.0.0.1"));
  EXPECT_EQ(address.port, 6560);
  EXPECT_THROW(ParseSpeechdAddress(QStringLiteral("inet_socket:h:0"), fallback), Exception);
  EXPECT_THROW(ParseSpeechdAddress(QStringLiteral("inet_socket:h:port"), fallback), Exception);
  EXPECT_THROW(ParseSpeechdAddress(QStringLiteral("dbus:session"), fallback), Exception);
}

}  // namespace
}  // namespace voxmere
