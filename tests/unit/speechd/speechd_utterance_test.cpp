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

// Markup the user selected is spoken as its characters, pitch tags too.
TEST(SpeechdUtteranceTest, PitchChangesInsideTheTextBecomeRelativeProsody) {
  const struct {
    const char* text;
    int pitch;
    const char* ssml;
  } kCases[] = {
      {"<pitch middle=\"0\">level<pitch middle=\"3\">up <i></pitch>", 0,
       "<speak>level&lt;pitch middle=&quot;3&quot;&gt;up &lt;i&gt;</speak>"},
      {"<pitch middle=\"2\"><speak><break time=\"10s\"/></speak>", 20,
       "<speak>&lt;speak&gt;&lt;break time=&quot;10s&quot;/&gt;&lt;/speak&gt;</speak>"},
      {"<?xml version=\"1.0\"?><!-- x --><![CDATA[y]]>&amp;", 0,
       "<speak>&lt;?xml version=&quot;1.0&quot;?&gt;&lt;!-- x --&gt;&lt;![CDATA[y]]&gt;&amp;amp;"
       "</speak>"},
      {"<silence msec=\"9000\"/>", 0, "<speak>&lt;silence msec=&quot;9000&quot;/&gt;</speak>"},
  };
  for (const auto& c : kCases) {
    const SpeechdUtterance utterance = MakeSpeechdUtterance(QString::fromUtf8(c.text));
    EXPECT_EQ(utterance.pitch, c.pitch) << c.text;
    EXPECT_EQ(utterance.ssml, QByteArray(c.ssml)) << c.text;
  }
}

TEST(SpeechdUtteranceTest, CharactersXmlForbidsBecomeBlanks) {
  const QString text = QStringLiteral("a") + QChar(0) + QChar(1) + QStringLiteral("b\tc\r\nd") +
                       QChar(0xFFFF) + QChar(0x1F);
  EXPECT_EQ(MakeSpeechdUtterance(text).ssml, QByteArray("<speak>a  b\tc\r\nd  </speak>"));
  // A pair across the slices a long text is converted in stays whole.
  const QString long_text = QString(16383, u'a') + QStringLiteral("\U0001F600");
  EXPECT_EQ(MakeSpeechdUtterance(long_text).ssml, "<speak>" + long_text.toUtf8() + "</speak>");
}

}  // namespace
}  // namespace voxmere
