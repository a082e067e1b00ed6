// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi5_voice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_speech_voice.h"
#include "platform/exception.h"
#include "speech/sapi5_requests.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char* const kNotConnected =
    "DefaultInterface is NULL. Component is not connected to Server. You must call 'Connect' or "
    "'ConnectTo' before this operation";

std::string MessageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message().toStdString();
  }
  return "no exception";
}

class Sapi5VoiceTest : public ::testing::Test {
 protected:
  Sapi5VoiceTest() { server().SetVoices({"Anna", "Bert", "Carl"}); }

  FakeSpeechVoiceServer& server() { return *connector_.Instance(); }
  FakeCallLog& log() { return *connector_.Log(); }

  FakeSpeechVoiceConnector connector_;
};

TEST_F(Sapi5VoiceTest, ConnectsOnceToARunningObjectOrElseANewOne) {
  Sapi5Voice voice(connector_);
  EXPECT_FALSE(voice.Connected());
  voice.Connect();
  voice.Connect();
  EXPECT_TRUE(voice.Connected());
  EXPECT_EQ(voice.DefaultInterface(), &server());
  EXPECT_THAT(log().Take(), ElementsAre("GetActiveObject", "CreateInstance", "Advise"));
  EXPECT_EQ(server().AdvisedCount(), 1);

  // A running object is taken as it is.
  auto running = std::make_shared<FakeSpeechVoiceServer>(connector_.Log());
  connector_.SetRunningObject(running);
  Sapi5Voice second(connector_);
  second.SetRate(4);
  EXPECT_THAT(log().Take(), ElementsAre("GetActiveObject", "Advise", "SetRate(4)"));
  EXPECT_EQ(running->Rate(), 4);

  // A failing lookup of the running object is no failure of Connect.
  connector_.SetRunningObject(nullptr);
  log().FailOn("GetActiveObject", "Operation unavailable");
  Sapi5Voice third(connector_);
  third.Connect();
  EXPECT_TRUE(third.Connected());
}

TEST_F(Sapi5VoiceTest, AFailedConnectionThrowsItsTextLeavesNothingAndIsRetried) {
  Sapi5Voice voice(connector_);
  log().FailOn("CreateInstance", "Class not registered", 0, 1);
  EXPECT_EQ(MessageOf([&] { voice.Connect(); }), "Class not registered");
  EXPECT_FALSE(voice.Connected());

  log().FailOn("Advise", "No such interface supported", 0, 1);
  EXPECT_EQ(MessageOf([&] { voice.SetVolume(50); }), "No such interface supported");
  EXPECT_FALSE(voice.Connected());
  EXPECT_EQ(server().AdvisedCount(), 0);

  // Every later operation tries again.
  log().Clear();
  voice.SetVolume(50);
  EXPECT_THAT(log().Take(),
              ElementsAre("GetActiveObject", "CreateInstance", "Advise", "SetVolume(50)"));
}

TEST_F(Sapi5VoiceTest, WithoutAnyObjectEveryOperationGivesTheNotConnectedMessage) {
  connector_.SetInstance(nullptr);
  Sapi5Voice voice(connector_);
  voice.Connect();
  EXPECT_FALSE(voice.Connected());
  EXPECT_EQ(MessageOf([&] { voice.GetVoices("", ""); }), kNotConnected);
  EXPECT_EQ(MessageOf([&] { voice.SetRate(0); }), kNotConnected);
  EXPECT_EQ(MessageOf([&] { voice.SetVolume(0); }), kNotConnected);
  EXPECT_EQ(MessageOf([&] { voice.SetVoice(nullptr); }), kNotConnected);
  EXPECT_EQ(MessageOf([&] { voice.Speak("x", 1); }), kNotConnected);
  EXPECT_FALSE(ProbeSapi5(voice));
}

TEST_F(Sapi5VoiceTest, DisconnectUnadvisesAndReleasesOnlyWhenConnected) {
  Sapi5Voice voice(connector_);
  voice.Disconnect();
  EXPECT_THAT(log().Calls(), IsEmpty());
  voice.Connect();
  log().Clear();
  voice.Disconnect();
  voice.Disconnect();
  EXPECT_THAT(log().Take(), ElementsAre("Unadvise(1)"));
  EXPECT_FALSE(voice.Connected());
  EXPECT_EQ(server().AdvisedCount(), 0);
  // The next operation connects again.
  voice.Speak("a", 1);
  EXPECT_THAT(log().Take(),
              ElementsAre("GetActiveObject", "CreateInstance", "Advise", "Speak(a,1)"));
}

TEST_F(Sapi5VoiceTest, VoiceIsWrittenByNameRateAndVolumeDirectly) {
  Sapi5Voice voice(connector_);
  voice.Connect();
  log().Clear();
  const auto voices = voice.GetVoices("", "");
  ASSERT_EQ(voices->Count(), 3);
  voice.SetVoice(voices->Item(1));
  voice.SetRate(-2);
  voice.SetVolume(100);
  EXPECT_THAT(log().Take(),
              ElementsAre("GetVoices(,)", "Count", "Item(1)", "PutPropertyByName(Voice,Bert)",
                          "SetRate(-2)", "SetVolume(100)"));
  EXPECT_EQ(server().CurrentVoice(), "Bert");
  EXPECT_EQ(server().Rate(), -2);
  EXPECT_EQ(server().Volume(), 100);
  EXPECT_EQ(voice.Speak("x", 1), 1);
  EXPECT_EQ(voice.Speak("y", 1), 2);
  // A failing engine call reaches the caller with the engine's text.
  log().FailOn("SetRate", "The parameter is incorrect.");
  EXPECT_EQ(MessageOf([&] { voice.SetRate(99); }), "The parameter is incorrect.");
}

TEST_F(Sapi5VoiceTest, EventsReachTheirHandlersByDispatchId) {
  Sapi5Voice voice(connector_);
  std::vector<std::string> seen;
  voice.SetOnStartStream([&](Sapi5Voice& sender, int stream, const QVariant& position) {
    EXPECT_EQ(&sender, &voice);
    seen.push_back("start " + std::to_string(stream) + " " + position.toString().toStdString());
  });
  voice.SetOnEndStream([&](Sapi5Voice&, int stream, const QVariant& position) {
    seen.push_back("end " + std::to_string(stream) + " " + position.toString().toStdString());
  });
  voice.Connect();

  server().StartStream(3, 0);
  server().EndStream(3, 1234);
  for (int id = 3; id <= 11; ++id) server().FireEvent(id, {3, 10, id});
  server().FireEvent(0, {});
  server().FireEvent(-1, {});
  EXPECT_THAT(seen, ElementsAre("start 3 0", "end 3 1234"));

  // Handlers not assigned, and start or end events without arguments, are
  // harmless.
  seen.clear();
  Sapi5Voice bare(connector_);
  bare.Connect();
  bare.SetOnStartStream([&](Sapi5Voice&, int stream, const QVariant& position) {
    seen.push_back("bare start " + std::to_string(stream) + (position.isValid() ? " pos" : ""));
  });
  bare.InvokeEvent(SpeechVoiceServer::kStartStream, {});
  bare.InvokeEvent(SpeechVoiceServer::kWord, {1, 2, 3, 4});
  EXPECT_THAT(seen, ElementsAre("bare start 0"));
}

TEST_F(Sapi5VoiceTest, AnEventArrivingAfterTheComponentDiedDoesNothing) {
  int calls = 0;
  SpeechVoiceServer::EventSink late_sink;
  {
    Sapi5Voice voice(connector_);
    voice.SetOnEndStream([&](Sapi5Voice&, int, const QVariant&) { ++calls; });
    voice.Connect();
    server().EndStream(1);
    EXPECT_EQ(calls, 1);
    late_sink = server().LastAdvisedSink();
  }
  EXPECT_EQ(log().CountOf("Unadvise"), 1);
  EXPECT_EQ(server().AdvisedCount(), 0);
  // An event the system queued before the unadvise.
  late_sink(SpeechVoiceServer::kEndStream, {1, 0});
  EXPECT_EQ(calls, 1);
}

TEST_F(Sapi5VoiceTest, AvailabilityNeedsAConnectionAndAtLeastOneVoice) {
  {
    Sapi5Voice voice(connector_);
    EXPECT_TRUE(ProbeSapi5(voice));
  }
  EXPECT_THAT(log().Take(), ElementsAre("GetActiveObject", "CreateInstance", "Advise",
                                        "GetVoices(,)", "Count", "Unadvise(1)"));
  server().SetVoices({});
  {
    Sapi5Voice voice(connector_);
    EXPECT_FALSE(ProbeSapi5(voice));
  }
  server().SetVoices({"Anna"});
  log().FailOn("Count", "Catastrophic failure", 0, 1);
  {
    Sapi5Voice voice(connector_);
    EXPECT_FALSE(ProbeSapi5(voice));
  }
  log().FailOn("CreateInstance", "Class not registered", 0, 1);
  {
    Sapi5Voice voice(connector_);
    EXPECT_FALSE(ProbeSapi5(voice));
  }
}

TEST_F(Sapi5VoiceTest, RequestSequencesOfTheProgram) {
  Sapi5Voice voice(connector_);
  voice.Connect();
  log().Clear();

  ApplySapi5Voice(voice, 2, -3, 80);
  EXPECT_THAT(log().Take(), ElementsAre("GetVoices(,)", "Item(2)", "PutPropertyByName(Voice,Carl)",
                                        "SetRate(-3)", "SetVolume(80)"));

  // Stop is issued even when nothing is being spoken; speaking leaves the
  // markup open unless asked to close it.
  StopSapi5(voice);
  SpeakSapi5(voice, -5, "hi");
  SpeakSapi5(voice, 0, "ho");
  SpeakSapi5(voice, 7, "test", PitchMarkupClose::kClosed);
  EXPECT_THAT(log().Take(), ElementsAre("Speak(,2)", "Speak(<pitch middle=\"-5\">hi,1)",
                                        "Speak(<pitch middle=\"0\">ho,1)",
                                        "Speak(<pitch middle=\"7\">test</pitch>,1)"));

  // A voice that is gone fails in Item: nothing is written, nothing spoken.
  EXPECT_EQ(MessageOf([&] { ApplySapi5Voice(voice, -1, 0, 100); }), "The parameter is incorrect.");
  EXPECT_THAT(log().Take(), ElementsAre("GetVoices(,)", "Item(-1)"));
  EXPECT_EQ(MessageOf([&] { ApplySapi5Voice(voice, 3, 0, 100); }), "The parameter is incorrect.");
  EXPECT_EQ(server().CurrentVoice(), "Carl");
}

TEST(WithMarkupInFrontTest, PutsTheMarkupBeforeTheWholeTextAndLeavesSharersAlone) {
  const QString markup = QStringLiteral("<pitch middle=\"-3\">");
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80 end");
  const QString large(3'000'000, u'x');
  for (const QString& text : {QString(), QStringLiteral("a"), emoji, large}) {
    const QString kept = text;  // shared: must not change under its holder
    const QString made = WithMarkupInFront(text, markup);
    EXPECT_EQ(made.size(), markup.size() + text.size());
    EXPECT_TRUE(made.startsWith(markup));
    EXPECT_EQ(QStringView(made).sliced(markup.size()), text);
    EXPECT_EQ(kept, text);
  }
  // A text handed over: its buffer becomes the request.
  QString own = QStringLiteral("words");
  own.detach();
  EXPECT_EQ(WithMarkupInFront(std::move(own), markup), markup + QStringLiteral("words"));
}

}  // namespace
}  // namespace voxmere
