// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/default_voice_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_speech_voice.h"
#include "fakes/fake_tts_engine.h"
#include "speech/voice_catalogue.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;

TEST(DefaultVoicePageSpeakTest, SpeaksWithThePagesVoiceAsItStands) {
  auto log = std::make_shared<FakeCallLog>();
  FakeTtsObjectFactory factory(log);
  FakeSpeechVoiceConnector connector(log);
  factory.AddMode("Mike", "Mike");
  connector.Instance()->SetVoices({"Anna"});
  Sapi4Voice sapi4(factory);
  Sapi5Voice sapi5(connector);
  DefaultVoicePage page(sapi4, sapi5);
  LoadVoicesList(sapi4, sapi5, true, page.voices_list);

  // SAPI 4: the text unchanged, after the page's speed is applied.
  page.speed_bar.SetPosition(120);
  page.Speak("sequel");
  const std::vector<FakeTtsEngine::TextDataCall>& sent = factory.LastEngine()->TextDataCalls();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].data, QByteArray("sequel\r\n\0", 9));
  EXPECT_EQ(factory.LastEngine()->Mode().speed, 120u);

  // SAPI 5: the pitch bar's position in the opening tag, no closing tag.
  page.voices_list.UserSelect(1);
  page.pitch_bar.SetPosition(3);
  log->Clear();
  page.Speak("gooey");
  std::vector<std::string> speaks;
  for (const std::string& call : log->Take()) {
    if (FakeCallLog::Matches("Speak", call)) speaks.push_back(call);
  }
  EXPECT_THAT(speaks, ElementsAre("Speak(<pitch middle=\"3\">gooey,1)"));
}

}  // namespace
}  // namespace voxmere
