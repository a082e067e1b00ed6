// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/piecewise_voice_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_speech_voice.h"
#include "platform/exception.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr unsigned kAsync = SpeechVoiceServer::kFlagsAsync;
constexpr unsigned kPurge = SpeechVoiceServer::kFlagsPurgeBeforeSpeak;

// Pieces of at most 20 characters, the events the caller sees as "start 1"
// and "end 1".
class PiecewiseVoiceServerTest : public ::testing::Test {
 protected:
  PiecewiseVoiceServerTest() {
    outer_.Advise([this](int id, const QVariantList& arguments) {
      events_.push_back((id == SpeechVoiceServer::kStartStream ? "start " : "end ") +
                        std::to_string(arguments.value(0).toInt()));
    });
    log_->Clear();
  }

  std::vector<std::string> Events() { return std::exchange(events_, {}); }

  std::shared_ptr<FakeCallLog> log_ = std::make_shared<FakeCallLog>();
  std::shared_ptr<FakeSpeechVoiceServer> inner_ = std::make_shared<FakeSpeechVoiceServer>(log_);
  PiecewiseVoiceServer outer_{inner_, 20};
  std::vector<std::string> events_;
};

TEST_F(PiecewiseVoiceServerTest, AShortTextGoesThroughAsItIs) {
  EXPECT_EQ(outer_.Speak("<pitch middle=\"2\">Hello there", kAsync), 1);
  EXPECT_THAT(log_->Take(), ElementsAre("Speak(<pitch middle=\"2\">Hello there,1)"));
  inner_->StartStream(1);
  inner_->EndStream(1);
  EXPECT_THAT(Events(), ElementsAre("start 1", "end 1"));
}

TEST_F(PiecewiseVoiceServerTest, ALongTextIsSentAPieceAtATimeAsOneStream) {
  const int stream = outer_.Speak(
      "<pitch middle=\"-3\">One two three. Four five six seven eight nine ten "
      "abcdefghijklmnopqrstuvwxyz</pitch>",
      kAsync);
  // Cut after a sentence end, else after a blank, else at the length.
  EXPECT_THAT(log_->Take(), ElementsAre("Speak(<pitch middle=\"-3\"/>One two three. ,1)"));
  inner_->StartStream(1);
  EXPECT_THAT(log_->Take(), ElementsAre("Speak(<pitch middle=\"-3\"/>Four five six seven ,1)"));
  inner_->EndStream(1);
  EXPECT_THAT(log_->Take(), IsEmpty()) << "one piece waits in the daemon at a time";
  for (int piece = 2; piece <= 4; ++piece) {
    inner_->StartStream(piece);
    inner_->EndStream(piece);
  }
  EXPECT_THAT(log_->Take(), ElementsAre("Speak(<pitch middle=\"-3\"/>eight nine ten ,1)",
                                        "Speak(<pitch middle=\"-3\"/>abcdefghijklmnopqrst,1)",
                                        "Speak(<pitch middle=\"-3\"/>uvwxyz,1)"));
  inner_->StartStream(5);
  EXPECT_THAT(Events(), ElementsAre("start 1"));
  inner_->EndStream(5);
  EXPECT_THAT(Events(), ElementsAre("end " + std::to_string(stream)));
}

TEST_F(PiecewiseVoiceServerTest, TextsQueueBehindTheLongOneAndAPurgeEndsIt) {
  outer_.Speak("aaaaaaaaaa bbbbbbbbbb cccccccccc", kAsync);
  EXPECT_EQ(outer_.Speak("Next", kAsync), 2);
  for (int piece = 1; piece <= 3; ++piece) {
    inner_->StartStream(piece);
    inner_->EndStream(piece);
  }
  EXPECT_THAT(log_->Take(),
              ElementsAre("Speak(<pitch middle=\"0\"/>aaaaaaaaaa ,1)",
                          "Speak(<pitch middle=\"0\"/>bbbbbbbbbb ,1)",
                          "Speak(<pitch middle=\"0\"/>cccccccccc,1)", "Speak(Next,1)"));
  inner_->StartStream(4);
  outer_.Speak("dddddddddd eeeeeeeeee", kAsync);
  EXPECT_THAT(log_->Take(), ElementsAre("Speak(<pitch middle=\"0\"/>dddddddddd ,1)"));

  // The stop: the queued piece and text go unheard, the playing piece ends
  // its text.
  outer_.Speak(QString(), kPurge);
  EXPECT_THAT(log_->Take(), ElementsAre("Speak(,2)"));
  inner_->EndStream(4);
  EXPECT_THAT(Events(), ElementsAre("start 1", "end 1", "start 2", "end 2"));
  EXPECT_THAT(log_->Take(), IsEmpty());
}

TEST_F(PiecewiseVoiceServerTest, AFailedFirstPieceThrowsAndALaterOneEndsTheText) {
  log_->FailOn("Speak");
  EXPECT_THROW(outer_.Speak("x", kAsync), Exception);
  log_->ClearFailures();
  outer_.Speak("aaaaaaaaaa bbbbbbbbbb cccccccccc", kAsync);
  log_->FailOn("Speak");
  inner_->StartStream(1);
  log_->ClearFailures();
  inner_->EndStream(1);
  EXPECT_THAT(Events(), ElementsAre("start 2", "end 2"));
  // Nothing of it is left to send.
  outer_.Speak("y", kAsync);
  EXPECT_THAT(log_->Take(), testing::Contains("Speak(y,1)"));
}

// Start and end come in pairs: a piece the daemon lost before it started
// hands on to the next, and a text that cannot go on ends at once.
TEST_F(PiecewiseVoiceServerTest, StartsAndEndsComeInPairs) {
  outer_.Speak("aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd", kAsync);
  inner_->EndStream(1);  // lost before it started: the next piece goes
  inner_->StartStream(2);
  inner_->EndStream(2);
  EXPECT_THAT(Events(), ElementsAre("start 1"));
  EXPECT_EQ(log_->CountOf("Speak"), 3);
  log_->FailOn("Speak");
  inner_->EndStream(3);  // lost too, and the last piece cannot be sent
  EXPECT_THAT(Events(), ElementsAre("end 1"));
}

}  // namespace
}  // namespace voxmere
