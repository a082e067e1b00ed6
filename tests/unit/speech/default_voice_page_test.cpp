// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/default_voice_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_speech_voice.h"
#include "fakes/fake_tts_engine.h"
#include "speech/voice_catalogue.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// Three SAPI 4 modes and two SAPI 5 voices, all recording into one log:
//   0 "Mary"  speed 50..250 at 150, pitch 60..240 at 120, volume 50 %
//   1 "Mike"  the fake's defaults: speed 80..450 at 175, pitch 50..200 at 100
//   2 "Low"   pitch 0..200 at 5
//   3 "Anna (SAPI5)", 4 "Zira (SAPI5)"
class DefaultVoicePageTest : public ::testing::Test {
 protected:
  DefaultVoicePageTest() : factory_(log_), connector_(log_) {
    AddMaryInBooth(factory_);
    factory_.AddMode("Mike", "Mike");
    FakeTtsMode& low = factory_.AddMode("Low", "Low");
    low.min_pitch = 0;
    low.pitch = 5;
    connector_.Instance()->SetVoices({"Anna", "Zira"});
    sapi4_ = std::make_unique<Sapi4Voice>(factory_);
    sapi5_ = std::make_unique<Sapi5Voice>(connector_);
    page_ = std::make_unique<DefaultVoicePage>(*sapi4_, *sapi5_);
    LoadVoicesList(*sapi4_, *sapi5_, true, page_->voices_list);
    log_->Clear();
  }

  // Range and position of a bar, and the box beside it.
  static std::string Bar(const TrackBar& bar, const TextField& box) {
    return std::to_string(bar.Min()) + ".." + std::to_string(bar.Max()) + " at " +
           std::to_string(bar.Position()) + " shows " + box.Text().toStdString();
  }
  std::string Speed() const { return Bar(page_->speed_bar, page_->speed_box); }
  std::string Pitch() const { return Bar(page_->pitch_bar, page_->pitch_box); }
  std::string Volume() const { return Bar(page_->volume_bar, page_->volume_box); }

  // The calls of the log that match one of the patterns.
  std::vector<std::string> CallsOf(std::initializer_list<std::string> patterns) {
    std::vector<std::string> kept;
    for (const std::string& call : log_->Take()) {
      for (const std::string& pattern : patterns) {
        if (FakeCallLog::Matches(pattern, call)) {
          kept.push_back(call);
          break;
        }
      }
    }
    return kept;
  }

  std::shared_ptr<FakeCallLog> log_ = std::make_shared<FakeCallLog>();
  FakeTtsObjectFactory factory_;
  FakeSpeechVoiceConnector connector_;
  std::unique_ptr<Sapi4Voice> sapi4_;
  std::unique_ptr<Sapi5Voice> sapi5_;
  std::unique_ptr<DefaultVoicePage> page_;
};

TEST_F(DefaultVoicePageTest, LoadingTheCatalogueShowsTheFirstVoice) {
  // The catalogue's change report reached the page through the list's signal.
  EXPECT_EQ(page_->voices_list.ItemIndex(), 0);
  EXPECT_EQ(page_->ScaleMode(), PageScaleMode::kSapi4);
  EXPECT_EQ(sapi4_->EngineInfo().mode_name, "Mary in Booth");
  EXPECT_EQ(Speed(), "50..250 at 150 shows 150");
  EXPECT_EQ(Pitch(), "60..240 at 120 shows 120");
  EXPECT_EQ(Volume(), "0..100 at 50 shows 50");
  EXPECT_EQ(page_->test_text.Text(), DefaultVoicePage::DefaultTestText());
  EXPECT_EQ(DefaultVoicePage::DefaultTestText(), "This is a test for selected voice.");
  EXPECT_TRUE(page_->IsSapi4Entry(-1));
  EXPECT_TRUE(page_->IsSapi4Entry(2));
  EXPECT_FALSE(page_->IsSapi4Entry(3));
}

TEST_F(DefaultVoicePageTest, Sapi5EntryTakesItsScaleRangesAndStartingValues) {
  page_->voices_list.UserSelect(4);
  EXPECT_EQ(page_->ScaleMode(), PageScaleMode::kSapi5);
  EXPECT_EQ(Speed(), "-10..10 at -3 shows 135");
  EXPECT_EQ(Pitch(), "-10..10 at -5 shows 105");
  EXPECT_EQ(Volume(), "0..100 at 100 shows 100");
  // The engine gets rate -2 and full volume at once; the voice itself waits
  // for the next reading.
  EXPECT_THAT(CallsOf({"SetRate", "SetVolume", "PutPropertyByName", "Select"}),
              ElementsAre("SetRate(-2)", "SetVolume(100)"));

  // Every position change refreshes its box in the SAPI 5 scale.
  page_->speed_bar.SetPosition(10);
  EXPECT_EQ(page_->speed_box.Text(), "330");
  page_->speed_bar.SetPosition(-10);
  EXPECT_EQ(page_->speed_box.Text(), "30");
  page_->speed_bar.SetPosition(-40);  // clamped
  EXPECT_EQ(Speed(), "-10..10 at -10 shows 30");
  page_->pitch_bar.SetPosition(1);
  EXPECT_EQ(page_->pitch_box.Text(), "195");
  page_->volume_bar.SetPosition(7);
  EXPECT_EQ(page_->volume_box.Text(), "7");

  // Back to a SAPI 4 mode: exactly its ranges (not -10..250) and the
  // engine's own numbers in the boxes.
  page_->voices_list.UserSelect(0);
  EXPECT_EQ(page_->ScaleMode(), PageScaleMode::kSapi4);
  EXPECT_EQ(Speed(), "50..250 at 150 shows 150");
  EXPECT_EQ(Pitch(), "60..240 at 120 shows 120");
  EXPECT_EQ(Volume(), "0..100 at 50 shows 50");
}

TEST_F(DefaultVoicePageTest, BoxesFollowTheScaleEvenWhenAPositionStays) {
  // The SAPI 5 pitch position 5 shows 255; the mode "Low" also has pitch 5,
  // so the bar reports no change, yet its box must show the engine's 5 (the
  // number that the settings save).
  page_->voices_list.UserSelect(3);
  page_->pitch_bar.SetPosition(5);
  ASSERT_EQ(page_->pitch_box.Text(), "255");
  page_->voices_list.UserSelect(2);
  EXPECT_EQ(Pitch(), "0..200 at 5 shows 5");
  EXPECT_EQ(Speed(), "80..450 at 175 shows 175");

  // The other way round: SAPI 4 volume 100 stays 100, speed box rescales.
  page_->voices_list.UserSelect(1);
  page_->voices_list.UserSelect(4);
  EXPECT_EQ(Speed(), "-10..10 at -3 shows 135");
  EXPECT_EQ(Volume(), "0..100 at 100 shows 100");
}

TEST_F(DefaultVoicePageTest, PageSwitchSuppressesChangesUntilTheListIsClicked) {
  page_->PageChanged();
  EXPECT_EQ(page_->VoicesListTag(), DefaultVoicePage::kPageSwitchMarker);
  // Redraws after showing the page again, and change calls, do nothing.
  page_->voices_list.UserSelect(3);
  page_->VoiceSelectionChanged(-1, 4);
  EXPECT_EQ(page_->ScaleMode(), PageScaleMode::kSapi4);
  EXPECT_EQ(Speed(), "50..250 at 150 shows 150");
  EXPECT_THAT(log_->Take(), IsEmpty());

  // The settings load shows its voice all the same, and the marker stays for
  // the redraws that follow.
  page_->ShowVoice(4);
  EXPECT_EQ(page_->ScaleMode(), PageScaleMode::kSapi5);
  EXPECT_EQ(Speed(), "-10..10 at -3 shows 135");
  EXPECT_EQ(page_->VoicesListTag(), DefaultVoicePage::kPageSwitchMarker);
  page_->voices_list.UserSelect(1);
  EXPECT_EQ(page_->ScaleMode(), PageScaleMode::kSapi5);

  page_->VoiceListClicked();
  EXPECT_EQ(page_->VoicesListTag(), 0);
  page_->voices_list.UserSelect(0);
  EXPECT_EQ(page_->ScaleMode(), PageScaleMode::kSapi4);
  EXPECT_EQ(Speed(), "50..250 at 150 shows 150");

  // An empty catalogue has nothing to show.
  page_->voices_list.Clear();
  EXPECT_NO_THROW(page_->VoiceSelectionChanged(-1, 0));
  EXPECT_NO_THROW(page_->ShowVoice(0));
  EXPECT_EQ(Speed(), "50..250 at 150 shows 150");
}

TEST_F(DefaultVoicePageTest, ChangeToAPositionOutsideTheListFailsBeforeChangingAnything) {
  page_->voices_list.SetItemIndex(-1);
  EXPECT_THROW(page_->VoiceSelectionChanged(0, -1), Exception);
  EXPECT_THROW(page_->VoiceSelectionChanged(0, 5), Exception);
  EXPECT_THAT(log_->Take(), IsEmpty());
  EXPECT_EQ(page_->ScaleMode(), PageScaleMode::kSapi4);
  EXPECT_EQ(Speed(), "50..250 at 150 shows 150");
}

TEST_F(DefaultVoicePageTest, SelectDefaultVoiceAppliesTheBarsToTheEntrysEngine) {
  page_->voices_list.UserSelect(1);
  page_->speed_bar.SetPosition(200);
  page_->pitch_bar.SetPosition(90);
  page_->volume_bar.SetPosition(50);
  log_->Clear();
  page_->SelectDefaultVoice();
  std::vector<std::string> calls = log_->Take();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls.front(), "CreateAudioDestination(sound)");
  EXPECT_THAT(
      std::vector<std::string>(calls.end() - 3, calls.end()),
      ElementsAre("Inject(\\Spd=200\\)", "Inject(\\Pit=90\\)", "Inject(\\Vol=2147450879\\)"));
  EXPECT_EQ(factory_.LastEngine()->Mode().info.mode_name, "Mike");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Select({mode-2})"), 1);

  // SAPI 5: a fresh collection, the entry's token, the speed bar as rate and
  // the volume; the pitch waits for the markup.
  page_->voices_list.UserSelect(4);
  page_->speed_bar.SetPosition(7);
  page_->pitch_bar.SetPosition(3);
  page_->volume_bar.SetPosition(40);
  log_->Clear();
  page_->SelectDefaultVoice();
  EXPECT_THAT(log_->Take(), ElementsAre("GetVoices(,)", "Item(1)", "PutPropertyByName(Voice,Zira)",
                                        "SetRate(7)", "SetVolume(40)"));
  EXPECT_EQ(connector_.Instance()->CurrentVoice(), "Zira");

  // Nothing selected: a message for the user, and no engine is touched.
  page_->voices_list.SetItemIndex(-1);
  try {
    page_->SelectDefaultVoice();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_THAT(e.Message().toStdString(), HasSubstr("voice"));
  }
  EXPECT_THROW(page_->TestClicked(), Exception);
  EXPECT_THAT(log_->Take(), IsEmpty());
}

TEST_F(DefaultVoicePageTest, TestButtonSpeaksTheBoxOrTheDefaultText) {
  // SAPI 4: the text as the component's lines, after the voice is applied.
  page_->test_text.SetText("");
  page_->TestClicked();
  const std::vector<FakeTtsEngine::TextDataCall>& sent = factory_.LastEngine()->TextDataCalls();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].data, QByteArray("This is a test for selected voice.\r\n\0", 37));
  EXPECT_EQ(factory_.LastEngine()->Mode().speed, 150u);

  page_->test_text.SetText("Hello there");
  page_->speed_bar.SetPosition(60);
  page_->TestClicked();
  const std::vector<FakeTtsEngine::TextDataCall>& again = factory_.LastEngine()->TextDataCalls();
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].data, QByteArray("Hello there\r\n\0", 14));
  EXPECT_EQ(factory_.LastEngine()->Mode().speed, 60u);

  // SAPI 5: the pitch markup for the pitch bar in front, asynchronously, no
  // closing tag.
  page_->voices_list.UserSelect(3);
  page_->test_text.SetText("");
  log_->Clear();
  page_->TestClicked();
  std::vector<std::string> speaks = CallsOf({"Speak", "SetRate"});
  EXPECT_THAT(speaks,
              ElementsAre("SetRate(-3)",
                          "Speak(<pitch middle=\"-5\">This is a test for selected voice.,1)"));
  EXPECT_THAT(speaks.back(), Not(HasSubstr("</pitch>")));

  page_->pitch_bar.SetPosition(10);
  page_->test_text.SetText("Hi");
  page_->TestClicked();
  EXPECT_THAT(CallsOf({"Speak"}), ElementsAre("Speak(<pitch middle=\"10\">Hi,1)"));
}

TEST_F(DefaultVoicePageTest, EngineFailuresReachTheCaller) {
  // Test button and list choices let the engines' failures through, so that
  // the window's guard can show them.
  page_->voices_list.UserSelect(3);
  log_->FailOn("Speak", "The voice is busy.");
  EXPECT_THROW(page_->TestClicked(), Exception);
  log_->ClearFailures();
  log_->FailOn("SetRate", "Voice object broken.");
  EXPECT_THROW(page_->voices_list.UserSelect(4), Exception);
}

}  // namespace
}  // namespace voxmere
