// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_utterance.h"

#include <gtest/gtest.h>

namespace voxmere {
namespace {

TEST(SpeechdUtteranceTest, ValuesMapLinearlyOntoSpeechDispatcherScalesAndClamp) {
  EXPECT_EQ(SpeechdRate(-10), -100);
  EXPECT_EQ(SpeechdRate(0), 0);
  EXPECT_EQ(SpeechdRate(-3), -30);
  EXPECT_EQ(SpeechdRate(10), 100);
  EXPECT_EQ(SpeechdRate(15), 100);
  EXPECT_EQ(SpeechdRate(-1000), -100);
  EXPECT_EQ(SpeechdVolume(0), -100);
  EXPECT_EQ(SpeechdVolume(50), 0);
  EXPECT_EQ(SpeechdVolume(100), 100);
  EXPECT_EQ(SpeechdVolume(73), 46);
  EXPECT_EQ(SpeechdVolume(-5), -100);
  EXPECT_EQ(SpeechdVolume(250), 100);
  EXPECT_EQ(SpeechdPitch(-10), -100);
  EXPECT_EQ(SpeechdPitch(7), 70);
  EXPECT_EQ(SpeechdPitch(12), 100);
}

TEST(SpeechdUtteranceTest, OnePitchIsSetOnTheConnectionAndTheTextEscaped) {
  SpeechdUtterance utterance = MakeSpeechdUtterance(QStringLiteral("<pitch middle=\"-5\">R&D <3"));
  EXPECT_EQ(utterance.pitch, -50);
  EXPECT_EQ(utterance.ssml, QByteArray("<speak>R&amp;D &lt;3</speak>"));
  utterance = MakeSpeechdUtterance(QStringLiteral("Caf\u00e9"));
  EXPECT_EQ(utterance.pitch, 0);
  EXPECT_EQ(utterance.ssml, QByteArray("<speak>Caf\xc3\xa9</speak>"));
  utterance = MakeSpeechdUtterance(QString());
  EXPECT_EQ(utterance.pitch, 0);
  EXPECT_EQ(utterance.ssml, QByteArray("<speak></speak>"));
  // Tags alone still give a message (and so its start and end).
  utterance = MakeSpeechdUtterance(QStringLiteral("<pitch middle=\"4\"></pitch>"));
  EXPECT_EQ(utterance.ssml, QByteArray("<speak></speak>"));
}

TEST(SpeechdUtteranceTest, PitchChangesInsideTheTextBecomeRelativeProsody) {
  const SpeechdUtterance utterance = MakeSpeechdUtterance(
      QStringLiteral("<pitch middle=\"0\">level<pitch middle=\"3\">up <i></pitch><pitch "
                     "middle=\"-10\">down"));
  EXPECT_EQ(utterance.pitch, 0);
  EXPECT_EQ(utterance.ssml,
            QByteArray("<speak>level<prosody pitch=\"+30%\">up &lt;i&gt;</prosody><prosody "
                       "pitch=\"-100%\">down</prosody></speak>"));
}

TEST(SpeechdUtteranceTest, CharactersXmlForbidsBecomeBlanks) {
  const QString text = QStringLiteral("a") + QChar(0) + QChar(1) + QStringLiteral("b\tc\r\nd") +
                       QChar(0xFFFF) + QChar(0x1F);
  EXPECT_EQ(MakeSpeechdUtterance(text).ssml, QByteArray("<speak>a  b\tc\r\nd  </speak>"));
}

}  // namespace
}  // namespace voxmere
