#include "speech/sp_voice.h"

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

class SpVoiceTest : public ::testing::Test {
 protected:
  SpVoiceTest() { server().SetVoices({"Anna", "Bert", "Carl"}); }

  FakeSpeechVoiceServer& server() { return *connector_.Instance(); }
  FakeCallLog& log() { return *connector_.Log(); }

  FakeSpeechVoiceConnector connector_;
};

TEST_F(SpVoiceTest, ConnectsOnceToARunningObjectOrElseANewOne) {
  TSpVoice voice(connector_);
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
  TSpVoice second(connector_);
  second.SetRate(4);
  EXPECT_THAT(log().Take(), ElementsAre("GetActiveObject", "Advise", "SetRate(4)"));
  EXPECT_EQ(running->Rate(), 4);

  // A failing lookup of the running object is no failure of Connect.
  connector_.SetRunningObject(nullptr);
  log().FailOn("GetActiveObject", "Operation unavailable");
  TSpVoice third(connector_);
  third.Connect();
  EXPECT_TRUE(third.Connected());
}

TEST_F(SpVoiceTest, AFailedConnectionThrowsItsTextLeavesNothingAndIsRetried) {
  TSpVoice voice(connector_);
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

TEST_F(SpVoiceTest, WithoutAnyObjectEveryOperationGivesTheNotConnectedMessage) {
  connector_.SetInstance(nullptr);
  TSpVoice voice(connector_);
  voice.Connect();
  EXPECT_FALSE(voice.Connected());
  EXPECT_EQ(MessageOf([&] { voice.GetVoices("", ""); }), kNotConnected);
  EXPECT_EQ(MessageOf([&] { voice.SetRate(0); }), kNotConnected);
  EXPECT_EQ(MessageOf([&] { voice.SetVolume(0); }), kNotConnected);
  EXPECT_EQ(MessageOf([&] { voice.SetVoice(nullptr); }), kNotConnected);
  EXPECT_EQ(MessageOf([&] { voice.Speak("x", 1); }), kNotConnected);
  EXPECT_FALSE(ProbeSapi5(voice));
}

TEST_F(SpVoiceTest, DisconnectUnadvisesAndReleasesOnlyWhenConnected) {
  TSpVoice voice(connector_);
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

TEST_F(SpVoiceTest, VoiceIsWrittenByNameRateAndVolumeDirectly) {
  TSpVoice voice(connector_);
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

TEST_F(SpVoiceTest, EventsReachTheirHandlersByDispatchId) {
  TSpVoice voice(connector_);
  std::vector<std::string> seen;
  const auto record = [&](std::string name) {
    return [&seen, name](TSpVoice&, const QVariantList& arguments) {
      seen.push_back(name + "/" + std::to_string(arguments.size()));
    };
  };
  voice.SetOnStartStream([&](TSpVoice& sender, int stream, const QVariant& position) {
    EXPECT_EQ(&sender, &voice);
    seen.push_back("start " + std::to_string(stream) + " " + position.toString().toStdString());
  });
  voice.SetOnEndStream([&](TSpVoice&, int stream, const QVariant& position) {
    seen.push_back("end " + std::to_string(stream) + " " + position.toString().toStdString());
  });
  voice.SetOnVoiceChange(record("voice"));
  voice.SetOnBookmark(record("bookmark"));
  voice.SetOnWord(record("word"));
  voice.SetOnPhoneme(record("phoneme"));
  voice.SetOnSentence(record("sentence"));
  voice.SetOnViseme(record("viseme"));
  voice.SetOnAudioLevel(record("level"));
  voice.SetOnEnginePrivate(record("private"));
  voice.Connect();

  server().StartStream(3, 0);
  server().EndStream(3, 1234);
  for (int id = 3; id <= 11; ++id) server().FireEvent(id, {3, 10, id});
  server().FireEvent(0, {});
  server().FireEvent(-1, {});
  EXPECT_THAT(seen, ElementsAre("start 3 0", "end 3 1234", "voice/3", "bookmark/3", "word/3",
                                "phoneme/3", "sentence/3", "viseme/3", "level/3", "private/3"));

  // Handlers not assigned, and start or end events without arguments, are
  // harmless.
  seen.clear();
  TSpVoice bare(connector_);
  bare.Connect();
  bare.SetOnStartStream([&](TSpVoice&, int stream, const QVariant& position) {
    seen.push_back("bare start " + std::to_string(stream) + (position.isValid() ? " pos" : ""));
  });
  bare.InvokeEvent(SpeechVoiceServer::kStartStream, {});
  bare.InvokeEvent(SpeechVoiceServer::kWord, {1, 2, 3, 4});
  EXPECT_THAT(seen, ElementsAre("bare start 0"));
}

TEST_F(SpVoiceTest, AnEventArrivingAfterTheComponentDiedDoesNothing) {
  int calls = 0;
  SpeechVoiceServer::EventSink late_sink;
  {
    TSpVoice voice(connector_);
    voice.SetOnEndStream([&](TSpVoice&, int, const QVariant&) { ++calls; });
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

TEST_F(SpVoiceTest, AvailabilityNeedsAConnectionAndAtLeastOneVoice) {
  {
    TSpVoice voice(connector_);
    EXPECT_TRUE(ProbeSapi5(voice));
  }
  EXPECT_THAT(log().Take(), ElementsAre("GetActiveObject", "CreateInstance", "Advise",
                                        "GetVoices(,)", "Count", "Unadvise(1)"));
  server().SetVoices({});
  {
    TSpVoice voice(connector_);
    EXPECT_FALSE(ProbeSapi5(voice));
  }
  server().SetVoices({"Anna"});
  log().FailOn("Count", "Catastrophic failure", 0, 1);
  {
    TSpVoice voice(connector_);
    EXPECT_FALSE(ProbeSapi5(voice));
  }
  log().FailOn("CreateInstance", "Class not registered", 0, 1);
  {
    TSpVoice voice(connector_);
    EXPECT_FALSE(ProbeSapi5(voice));
  }
}

TEST_F(SpVoiceTest, RequestSequencesOfTheProgram) {
  TSpVoice voice(connector_);
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

  // A slot reading purges first and converts the stored numbers.
  ReadSapi5Slot(voice, 0, 135, 105, 90, "slot");
  EXPECT_THAT(log().Take(),
              ElementsAre("Speak(,2)", "GetVoices(,)", "Item(0)", "PutPropertyByName(Voice,Anna)",
                          "SetRate(-3)", "SetVolume(90)", "Speak(<pitch middle=\"-5\">slot,1)"));
  ReadSapi5Slot(voice, 1, 400, 330, 100, "far");
  EXPECT_THAT(log().Take(),
              ElementsAre("Speak(,2)", "GetVoices(,)", "Item(1)", "PutPropertyByName(Voice,Bert)",
                          "SetRate(15)", "SetVolume(100)", "Speak(<pitch middle=\"10\">far,1)"));

  // A voice that is gone fails in Item: nothing is written, nothing spoken.
  EXPECT_EQ(MessageOf([&] { ReadSapi5Slot(voice, -1, 180, 180, 100, "none"); }),
            "The parameter is incorrect.");
  EXPECT_THAT(log().Take(), ElementsAre("Speak(,2)", "GetVoices(,)", "Item(-1)"));
  EXPECT_EQ(MessageOf([&] { ApplySapi5Voice(voice, 3, 0, 100); }), "The parameter is incorrect.");
  EXPECT_EQ(server().CurrentVoice(), "Bert");
}

}  // namespace
}  // namespace voxmere
