// SPDX-License-Identifier: GPL-3.0-or-later
// The voice object against a fake daemon: what it sends, the events it
// passes on, and how it behaves when the daemon stops, has no sound or goes.
#include <QTest>
#include <algorithm>
#include <chrono>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_ssip_server.h"
#include "platform/exception.h"
#include "platform/speechd/speechd_voice_connector.h"
#include "support/test_application.h"

namespace voxmere {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Server = SpeechVoiceServer;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::Pair;

SpeechdOptions OptionsFor(const FakeSsipServer& fake) {
  SpeechdOptions options;
  options.address = fake.Address();
  options.autospawn = false;
  options.timeouts.open = 1500ms;
  options.timeouts.ping = 500ms;
  options.timeouts.call = 500ms;
  options.timeouts.close = 200ms;
  options.list_timeout = 1000ms;
  return options;
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

class Events {
 public:
  explicit Events(Server& server) : server_(server) {
    cookie_ = server.Advise([this](int id, const QVariantList& arguments) {
      EXPECT_EQ(arguments.size(), 2);
      all.emplace_back(id, arguments.value(0).toInt());
    });
  }
  ~Events() { server_.Unadvise(cookie_); }
  bool WaitForCount(std::size_t count) {
    return QTest::qWaitFor([&] { return all.size() >= count; }, 3000);
  }
  std::vector<std::pair<int, int>> all;

 private:
  Server& server_;
  int cookie_ = 0;
};

class SpeechdVoiceServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::TestApplication();
    server_ = connector_.CreateInstance();
    events_ = std::make_unique<Events>(*server_);
    fake_.TakeCommands();
  }
  void TearDown() override {
    events_.reset();
    server_.reset();
  }

  FakeSsipServer fake_;
  SpeechdVoiceConnector connector_{OptionsFor(fake_)};
  std::shared_ptr<Server> server_;
  std::unique_ptr<Events> events_;
};

TEST_F(SpeechdVoiceServerTest, OpensWithEventsSsmlAndASilentSoundCheck) {
  const std::vector<QByteArray> opened = fake_.Commands();
  EXPECT_THAT(opened, Contains("QUIT"));  // the answer check
  EXPECT_THAT(opened, Contains("SET SELF NOTIFICATION begin on"));
  EXPECT_THAT(opened, Contains("SET SELF NOTIFICATION end on"));
  EXPECT_THAT(opened, Contains("SET SELF NOTIFICATION cancel on"));
  EXPECT_THAT(opened, Contains("SET SELF SSML_MODE on"));
  EXPECT_THAT(opened, Contains("TEXT <speak><break time=\"1ms\"/></speak>"));
  EXPECT_EQ(connector_.GetActiveObject(), nullptr);
  // The sound check's own events never reach the program.
  QTest::qWait(50);
  EXPECT_TRUE(events_->all.empty());
}

TEST_F(SpeechdVoiceServerTest, SpeakSendsEscapedSsmlAtThePitchOfTheMarkup) {
  EXPECT_EQ(server_->Speak(QStringLiteral("<pitch middle=\"-5\">Fish & <chips>"), 1), 1);
  EXPECT_THAT(fake_.TakeCommands(),
              ElementsAre("SET SELF PITCH -50", "SET SELF PRIORITY MESSAGE", "speak",
                          "TEXT <speak>Fish &amp; &lt;chips&gt;</speak>"));
  // The same pitch is not sent again; plain text is at pitch 0.
  EXPECT_EQ(server_->Speak(QStringLiteral("<pitch middle='-5'>Again"), 1), 2);
  EXPECT_THAT(fake_.TakeCommands(), Not(Contains("SET SELF PITCH -50")));
  server_->Speak(QStringLiteral("Plain <pitch middle=\"3\"> text"), 1);
  EXPECT_THAT(fake_.TakeCommands(),
              ElementsAre("SET SELF PITCH 0", "SET SELF PRIORITY MESSAGE", "speak",
                          "TEXT <speak>Plain &lt;pitch middle=&quot;3&quot;&gt; text</speak>"));
  // A pitch tag inside the text is the user's words, in the one message.
  server_->Speak(QStringLiteral("<pitch middle=\"2\">up<pitch middle=\"-4\">down</pitch>up"), 1);
  EXPECT_THAT(fake_.TakeCommands(),
              Contains("TEXT <speak>up&lt;pitch middle=&quot;-4&quot;&gt;down&lt;/pitch&gt;up"
                       "</speak>"));
  ASSERT_TRUE(events_->WaitForCount(8));
  EXPECT_THAT(events_->all,
              ElementsAre(Pair(Server::kStartStream, 1), Pair(Server::kEndStream, 1),
                          Pair(Server::kStartStream, 2), Pair(Server::kEndStream, 2),
                          Pair(Server::kStartStream, 3), Pair(Server::kEndStream, 3),
                          Pair(Server::kStartStream, 4), Pair(Server::kEndStream, 4)));
}

TEST_F(SpeechdVoiceServerTest, PurgeEndsWhatSpeaksAndDropsWhatIsQueued) {
  fake_.SetAutoEnd(false);
  const int speaking = server_->Speak(QStringLiteral("first"), 1);
  const int queued = server_->Speak(QStringLiteral("second"), 1);
  ASSERT_TRUE(events_->WaitForCount(1));
  fake_.TakeCommands();
  EXPECT_EQ(server_->Speak(QString(), Server::kFlagsPurgeBeforeSpeak), 0);
  EXPECT_THAT(fake_.TakeCommands(), ElementsAre("CANCEL SELF"));
  ASSERT_TRUE(events_->WaitForCount(2));
  QTest::qWait(50);
  EXPECT_THAT(events_->all, ElementsAre(Pair(Server::kStartStream, speaking),
                                        Pair(Server::kEndStream, speaking)));
  EXPECT_NE(queued, speaking);

  // Purge with a text: cancel, then speak it.
  const int third = server_->Speak(QStringLiteral("third"), 1);
  const int replacing = server_->Speak(QStringLiteral("fourth"), Server::kFlagsPurgeBeforeSpeak);
  EXPECT_THAT(
      fake_.TakeCommands(),
      ElementsAre("SET SELF PRIORITY MESSAGE", "speak", "TEXT <speak>third</speak>", "CANCEL SELF",
                  "SET SELF PRIORITY MESSAGE", "speak", "TEXT <speak>fourth</speak>"));
  ASSERT_TRUE(events_->WaitForCount(5));
  fake_.EndMessage(fake_.LastMessage());
  ASSERT_TRUE(events_->WaitForCount(6));
  EXPECT_THAT(events_->all, ElementsAre(Pair(1, speaking), Pair(2, speaking), Pair(1, third),
                                        Pair(2, third), Pair(1, replacing), Pair(2, replacing)));
  // A stop while nothing speaks is still sent.
  server_->Speak(QString(), Server::kFlagsPurgeBeforeSpeak);
  EXPECT_THAT(fake_.TakeCommands(), ElementsAre("CANCEL SELF"));
}

TEST_F(SpeechdVoiceServerTest, RateVolumeAndVoiceGoOntoSpeechDispatcherScales) {
  server_->SetRate(-10);
  server_->SetRate(3);
  server_->SetRate(15);
  server_->SetVolume(0);
  server_->SetVolume(50);
  server_->SetVolume(120);
  EXPECT_THAT(fake_.TakeCommands(),
              ElementsAre("SET SELF RATE -100", "SET SELF RATE 30", "SET SELF RATE 100",
                          "SET SELF VOLUME -100", "SET SELF VOLUME 0", "SET SELF VOLUME 100"));

  const auto voices = server_->GetVoices(QString(), QString());
  fake_.TakeCommands();
  server_->PutPropertyByName(QStringLiteral("voice"), voices->Item(1));
  EXPECT_THAT(fake_.TakeCommands(),
              ElementsAre("SET SELF OUTPUT_MODULE espeak-ng", "SET SELF SYNTHESIS_VOICE German"));

  class ForeignToken : public SpeechObjectToken {
    QString GetDescription(int) const override { return QStringLiteral("Elsewhere"); }
  };
  EXPECT_THROW(server_->PutPropertyByName(QStringLiteral("Rate"), voices->Item(0)), Exception);
  EXPECT_THROW(server_->PutPropertyByName(QStringLiteral("Voice"), nullptr), Exception);
  EXPECT_THROW(
      server_->PutPropertyByName(QStringLiteral("Voice"), std::make_shared<ForeignToken>()),
      Exception);
  EXPECT_TRUE(fake_.TakeCommands().empty());
}

TEST_F(SpeechdVoiceServerTest, VoicesAreTheBaseVoicesOfEveryModuleListedOnce) {
  fake_.SetVoices({{"espeak-ng",
                    {"English (America)\ten-us\tnone", "English (America)+Max\ten-us\tMax",
                     "French\tfr-fr\tnone"}},
                   {"festival", {"kal_diphone\ten\tnone", "French\tfr\tnone"}}});
  auto voices = server_->GetVoices(QString(), QString());
  ASSERT_EQ(voices->Count(), 4);
  EXPECT_EQ(voices->Item(0)->GetDescription(0), QStringLiteral("English (America)"));
  EXPECT_EQ(voices->Item(1)->GetDescription(0), QStringLiteral("French (espeak-ng)"));
  EXPECT_EQ(voices->Item(2)->GetDescription(0), QStringLiteral("kal_diphone - English"));
  EXPECT_EQ(voices->Item(3)->GetDescription(0), QStringLiteral("French (festival)"));
  EXPECT_THROW(voices->Item(4), Exception);
  EXPECT_THROW(voices->Item(-1), Exception);

  server_->PutPropertyByName(QStringLiteral("Voice"), voices->Item(2));
  EXPECT_THAT(fake_.Commands(), Contains("SET SELF OUTPUT_MODULE festival"));
  // Listed once: later calls do not ask the daemon again.
  fake_.TakeCommands();
  EXPECT_EQ(server_->GetVoices(QString(), QString())->Count(), 4);
  EXPECT_EQ(connector_.CreateInstance()->GetVoices(QString(), QString())->Count(), 4);
  EXPECT_THAT(fake_.TakeCommands(), Not(Contains("LIST SYNTHESIS_VOICES")));
  EXPECT_THROW(server_->GetVoices(QStringLiteral("Gender=Female"), QString()), Exception);
}

TEST_F(SpeechdVoiceServerTest, AllSinksHearEventsUntilUnadvised) {
  std::vector<int> second;
  const int cookie = server_->Advise([&](int id, const QVariantList&) { second.push_back(id); });
  server_->Speak(QStringLiteral("one"), 1);
  ASSERT_TRUE(events_->WaitForCount(2));
  EXPECT_EQ(second, (std::vector<int>{Server::kStartStream, Server::kEndStream}));
  server_->Unadvise(cookie);
  server_->Speak(QStringLiteral("two"), 1);
  ASSERT_TRUE(events_->WaitForCount(4));
  EXPECT_EQ(second.size(), 2u);
  EXPECT_THROW(server_->Unadvise(cookie), Exception);
}

TEST_F(SpeechdVoiceServerTest, AStoppedDaemonCostsOneTimeoutThenTheNextConnectionSetsAllAgain) {
  server_->SetRate(5);
  server_->SetVolume(40);
  server_->PutPropertyByName(QStringLiteral("Voice"),
                             server_->GetVoices(QString(), QString())->Item(1));
  fake_.SetAnswering(false);
  auto started = Clock::now();
  EXPECT_THROW(server_->Speak(QStringLiteral("lost"), 1), Exception);
  EXPECT_LT(SecondsSince(started), 3);
  started = Clock::now();
  EXPECT_THROW(server_->SetRate(1), Exception);  // only the answer check now
  EXPECT_LT(SecondsSince(started), 3);

  fake_.SetAnswering(true);
  const int connections = fake_.Connections();
  fake_.TakeCommands();
  server_->Speak(QStringLiteral("found"), 1);
  EXPECT_GT(fake_.Connections(), connections);
  const auto commands = fake_.TakeCommands();
  EXPECT_THAT(commands, Contains("SET SELF OUTPUT_MODULE espeak-ng"));
  EXPECT_THAT(commands, Contains("SET SELF SYNTHESIS_VOICE German"));
  EXPECT_THAT(commands, Contains("SET SELF RATE 10"));  // the last rate asked for
  EXPECT_THAT(commands, Contains("SET SELF VOLUME -20"));
  EXPECT_THAT(commands, Contains("TEXT <speak>found</speak>"));
  ASSERT_TRUE(events_->WaitForCount(2));

  // Letting go of the object while the daemon is stopped does not hang.
  fake_.SetAnswering(false);
  EXPECT_THROW(server_->Speak(QStringLiteral("lost"), 1), Exception);
  started = Clock::now();
  events_.reset();
  server_.reset();
  EXPECT_LT(SecondsSince(started), 3);
  fake_.SetAnswering(true);
}

TEST_F(SpeechdVoiceServerTest, ADaemonGoneMidSpeechEndsTheStreamAtOnce) {
  fake_.SetAutoEnd(false);
  const int stream = server_->Speak(QStringLiteral("long"), 1);
  ASSERT_TRUE(events_->WaitForCount(1));
  fake_.DropClients();
  // No call is needed: the end comes by itself.
  ASSERT_TRUE(events_->WaitForCount(2));
  EXPECT_THAT(events_->all, ElementsAre(Pair(1, stream), Pair(2, stream)));
  fake_.SetAutoEnd(true);
  const int next = server_->Speak(QStringLiteral("again"), 1);
  EXPECT_NE(next, stream);
  ASSERT_TRUE(events_->WaitForCount(4));
  EXPECT_THAT(events_->all[2], Pair(1, next));
}

TEST(SpeechdConnectorTest, FailsWithTheReasonWhenTheDaemonCannotBeUsed) {
  test_support::TestApplication();
  {
    FakeSsipServer fake;
    fake.SetSoundWorks(false);
    SpeechdVoiceConnector connector(OptionsFor(fake));
    const auto started = Clock::now();
    try {
      connector.CreateInstance();
      ADD_FAILURE() << "a daemon without sound was accepted";
    } catch (const Exception& e) {
      EXPECT_TRUE(e.Message().contains(QStringLiteral("sound"))) << e.what();
    }
    EXPECT_LT(SecondsSince(started), 3);
  }
  {
    FakeSsipServer fake;
    fake.SetAnswering(false);
    SpeechdVoiceConnector connector(OptionsFor(fake));
    const auto started = Clock::now();
    try {
      connector.CreateInstance();
      ADD_FAILURE() << "a stopped daemon was accepted";
    } catch (const Exception& e) {
      EXPECT_TRUE(e.Message().contains(QStringLiteral("did not answer"))) << e.what();
    }
    EXPECT_LT(SecondsSince(started), 3);
    fake.SetAnswering(true);
  }
  {
    SpeechdOptions options;
    options.address = SpeechdAddress{};
    options.address->socket_path = QStringLiteral("/nonexistent/speechd.sock");
    options.autospawn = false;
    SpeechdVoiceConnector connector(options);
    EXPECT_THROW(connector.CreateInstance(), Exception);
  }
}

}  // namespace
}  // namespace voxmere
