// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi4_voice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_tts_engine.h"
#include "speech/sapi4_requests.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string MessageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message().toStdString();
  }
  return "no exception";
}

std::string SpeechExceptionOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Sapi4Error& e) {
    return e.Message().toStdString();
  } catch (const Exception& e) {
    return "other: " + e.Message().toStdString();
  }
  return "no exception";
}

class Sapi4VoiceTest : public ::testing::Test {
 protected:
  Sapi4VoiceTest() {
    FakeTtsMode& mary = factory_.AddMode("Mary in Booth", "Mary", 1);
    mary.min_pitch = 60;
    mary.max_pitch = 240;
    mary.min_real_time = 16;
    mary.max_real_time = 1024;
    mary.min_speed = 50;
    mary.max_speed = 250;
    mary.pitch = 120;
    mary.real_time = 256;
    mary.speed = 150;
    factory_.AddMode("Mike", "Mike Long", 2);
    factory_.AddMode("Sam", "Sam", 0);
  }

  FakeCallLog& log() { return *factory_.Log(); }

  FakeTtsObjectFactory factory_;
};

TEST_F(Sapi4VoiceTest, EnumeratesTheModesAtCreation) {
  Sapi4Voice speech(factory_);
  EXPECT_TRUE(speech.Initialized());
  EXPECT_FALSE(speech.EngineSelected());
  EXPECT_EQ(speech.EngineNames(), QStringList({"Mary in Booth", "Mike", "Sam"}));
  EXPECT_EQ(speech.Output(), Sapi4Output::kSoundDevice);
  EXPECT_THAT(log().Take(),
              ElementsAre("CreateEnumerator", "Reset", "Next", "Next", "Next", "Next"));
}

TEST_F(Sapi4VoiceTest, AFailedEnumerationKeepsTheNamesSoFarAndRefusesEverything) {
  log().FailOn("Next", "Unspecified error", 2, 1);
  Sapi4Voice partial(factory_);
  EXPECT_FALSE(partial.Initialized());
  EXPECT_EQ(partial.EngineNames(), QStringList({"Mary in Booth", "Mike"}));
  EXPECT_EQ(SpeechExceptionOf([&] { partial.SelectEngine("Mike"); }),
            "Speech Engine not initialized");
  EXPECT_EQ(SpeechExceptionOf([&] { partial.Speak(); }), "Speech Engine not initialized");

  log().FailOn("CreateEnumerator", "Class not registered", 0, 1);
  Sapi4Voice none(factory_);
  EXPECT_FALSE(none.Initialized());
  EXPECT_THAT(none.EngineNames(), IsEmpty());

  log().FailOn("Reset", "Unspecified error", 0, 1);
  Sapi4Voice no_reset(factory_);
  EXPECT_FALSE(no_reset.Initialized());
}

TEST_F(Sapi4VoiceTest, SelectingRunsTheStepsInOrderAndProbesTheRanges) {
  Sapi4Voice speech(factory_);
  log().Clear();
  speech.SelectEngine("mike");
  EXPECT_TRUE(speech.EngineSelected());
  EXPECT_THAT(log().Take(),
              ElementsAre("CreateAudioDestination(sound)", "Reset", "Skip(1)", "Next",
                          "Select({mode-2})", "QueryAttributes", "QueryDialogs", "Register",
                          // pitch
                          "PitchGet", "PitchSet(65535)", "PitchGet", "PitchSet(0)", "PitchGet",
                          "PitchSet(100)",
                          // real-time rate
                          "RealTimeGet", "RealTimeSet(4294967295)", "RealTimeGet", "RealTimeSet(0)",
                          "RealTimeGet", "RealTimeSet(256)",
                          // speed
                          "SpeedGet", "SpeedSet(4294967295)", "SpeedGet", "SpeedSet(0)", "SpeedGet",
                          "SpeedSet(175)"));

  // A new selection drops the previous registration from the previous engine.
  speech.SelectEngine("MARY IN BOOTH");
  const std::vector<std::string> calls = log().Take();
  ASSERT_GE(calls.size(), 6u);
  EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 6),
              ElementsAre("CreateAudioDestination(sound)", "UnRegister(1)", "Reset", "Skip(0)",
                          "Next", "Select({mode-1})"));
  ASSERT_EQ(factory_.Engines().size(), 2u);
  EXPECT_THAT(factory_.Engines()[0]->RegisteredSinks(), IsEmpty());
  EXPECT_EQ(factory_.Engines()[1]->RegisteredSinks().size(), 1u);

  const Sapi4EngineInfo& info = speech.EngineInfo();
  EXPECT_EQ(info.max_pitch, 240);
  EXPECT_EQ(info.min_pitch, 60);
  EXPECT_EQ(info.max_real_time, 1024u);
  EXPECT_EQ(info.min_real_time, 16u);
  EXPECT_EQ(info.max_speed, 250u);
  EXPECT_EQ(info.min_speed, 50u);
  EXPECT_EQ(info.max_volume, 100u);
  EXPECT_EQ(info.min_volume, 0u);
  // The probe puts the engine's own settings back.
  const FakeTtsMode& state = factory_.LastEngine()->Mode();
  EXPECT_EQ(state.pitch, 120);
  EXPECT_EQ(state.real_time, 256u);
  EXPECT_EQ(state.speed, 150u);
  EXPECT_EQ(speech.Speed(), 150u);
  EXPECT_EQ(speech.Pitch(), 120);
}

TEST_F(Sapi4VoiceTest, EngineInfoDescribesTheSelectedMode) {
  factory_.Modes()[0].info.age = 30;
  factory_.Modes()[0].info.features = 0x11;
  factory_.Modes()[0].info.interfaces = 0x22;
  factory_.AddMode("Odd", "Odd", 7);
  factory_.AddMode("Cut", "Sp", 0);
  factory_.Modes().back().info.mode_name = QString("Cut") + QChar(0) + "here";
  factory_.Modes().back().info.speaker = QString("Sp") + QChar(0) + "eaker";
  Sapi4Voice speech(factory_);

  speech.SelectEngine("Mary in Booth");
  Sapi4EngineInfo info = speech.EngineInfo();
  EXPECT_EQ(info.mode_name, "Mary in Booth");
  EXPECT_EQ(info.dialect, "Standard");
  EXPECT_EQ(info.manufacturer_name, "Maker");
  EXPECT_EQ(info.product_name, "Product");
  EXPECT_EQ(info.mode_id, "{mode-1}");
  EXPECT_EQ(info.engine_id, "{engine-1}");
  EXPECT_EQ(info.speaker, "Mary");
  EXPECT_EQ(info.style, "Business");
  EXPECT_EQ(info.gender, "FEMALE");
  EXPECT_EQ(info.age, 30u);
  EXPECT_EQ(info.features, 0x11u);
  EXPECT_EQ(info.interfaces, 0x22u);

  speech.SelectEngine("Mike");
  EXPECT_EQ(speech.EngineInfo().gender, "MALE");
  // An unknown gender keeps the text of the mode before.
  speech.SelectEngine("Odd");
  EXPECT_EQ(speech.EngineInfo().gender, "MALE");
  EXPECT_EQ(speech.EngineInfo().speaker, "Odd");
  speech.SelectEngine("Sam");
  EXPECT_EQ(speech.EngineInfo().gender, "NEUTRAL");
  // Names end at their first zero character.
  EXPECT_EQ(speech.EngineNames().last(), "Cut");
  speech.SelectEngine("cut");
  EXPECT_EQ(speech.EngineInfo().mode_name, "Cut");
  EXPECT_EQ(speech.EngineInfo().speaker, "Sp");
}

TEST_F(Sapi4VoiceTest, AnUnknownNameIsRefusedAndTheSelectionStays) {
  Sapi4Voice speech(factory_);
  speech.SelectEngine("Sam");
  log().Clear();
  EXPECT_EQ(SpeechExceptionOf([&] { speech.SelectEngine("Nobody"); }),
            "Specified Speech Engine not found");
  EXPECT_EQ(SpeechExceptionOf([&] { speech.SelectEngine("Sa"); }),
            "Specified Speech Engine not found");
  EXPECT_THAT(log().Calls(), IsEmpty());
  EXPECT_TRUE(speech.EngineSelected());
  EXPECT_EQ(speech.EngineInfo().mode_name, "Sam");
  speech.SetText("still here");
  speech.Speak();
  EXPECT_EQ(log().CountOf("TextData"), 1);
  EXPECT_EQ(factory_.Engines().size(), 1u);
}

TEST_F(Sapi4VoiceTest, AFailureInsideTheSelectionClearsItSilently) {
  for (const char* step : {"CreateAudioDestination", "Reset", "Skip", "Next", "Select",
                           "QueryAttributes", "QueryDialogs", "Register"}) {
    SCOPED_TRACE(step);
    Sapi4Voice speech(factory_);
    speech.SelectEngine("Sam");
    ASSERT_TRUE(speech.EngineSelected());
    log().FailOn(step, "Unspecified error", 0, 1);
    speech.SelectEngine("Mike");
    EXPECT_FALSE(speech.EngineSelected());
    // The speaker read last is still the earlier mode's.
    EXPECT_EQ(speech.EngineInfo().speaker, "Sam");
    EXPECT_EQ(SpeechExceptionOf([&] { speech.Speak(); }), "Speech Engine not selected");
    // The next selection works again.
    speech.SelectEngine("Mike");
    EXPECT_TRUE(speech.EngineSelected());
    EXPECT_EQ(speech.EngineInfo().speaker, "Mike Long");
  }

  // A mode gone since the enumeration leaves nothing to select.
  Sapi4Voice speech(factory_);
  factory_.Modes().pop_back();
  speech.SelectEngine("Sam");
  EXPECT_FALSE(speech.EngineSelected());

  // The probe's results are not tested: failing reads leave zeros.
  log().FailOn("PitchGet");
  speech.SelectEngine("Mike");
  EXPECT_TRUE(speech.EngineSelected());
  EXPECT_EQ(speech.EngineInfo().max_pitch, 0);
}

TEST_F(Sapi4VoiceTest, SettingsTravelAsTagsAndVolumeReadsTheFirstChannel) {
  Sapi4Voice speech(factory_);
  EXPECT_EQ(SpeechExceptionOf([&] { speech.SetSpeed(180); }), "Speech Engine not selected");
  EXPECT_EQ(SpeechExceptionOf([&] { speech.Volume(); }), "Speech Engine not selected");
  speech.SelectEngine("Mike");
  log().Clear();
  speech.SetSpeed(180);
  speech.SetPitch(100);
  speech.SetVolume(100);
  speech.SetVolume(50);
  speech.SetVolume(0);
  speech.SetSpeed(0);
  speech.SetPitch(65535);
  EXPECT_THAT(log().Take(),
              ElementsAre("Inject(\\Spd=180\\)", "Inject(\\Pit=100\\)",
                          "Inject(\\Vol=4294967295\\)", "Inject(\\Vol=2147450879\\)",
                          "Inject(\\Vol=0\\)", "Inject(\\Spd=0\\)", "Inject(\\Pit=65535\\)"));
  // Computed in unsigned 32 bits like the Windows component.
  speech.SetVolume(200);
  EXPECT_THAT(log().Take(), ElementsAre("Inject(\\Vol=4294967294\\)"));

  FakeTtsMode& state = factory_.LastEngine()->State();
  state.volume = 32767;
  EXPECT_EQ(speech.Volume(), 49u);
  state.volume = 65535;
  EXPECT_EQ(speech.Volume(), 100u);
  state.volume = 0xFFFF0000u;
  EXPECT_EQ(speech.Volume(), 0u);
  state.speed = 222;
  EXPECT_EQ(speech.Speed(), 222u);

  // Tag results are not tested.
  log().FailOn("Inject");
  EXPECT_NO_THROW(speech.SetSpeed(100));
}

TEST_F(Sapi4VoiceTest, ApplyingAVoiceSelectsThenSetsSpeedPitchVolume) {
  Sapi4Voice speech(factory_);
  log().Clear();
  ApplySapi4Voice(speech, "sam", 200, 90, 50);
  std::vector<std::string> calls = log().Take();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_THAT(
      std::vector<std::string>(calls.end() - 3, calls.end()),
      ElementsAre("Inject(\\Spd=200\\)", "Inject(\\Pit=90\\)", "Inject(\\Vol=2147450879\\)"));
  EXPECT_EQ(calls.front(), "CreateAudioDestination(sound)");
  EXPECT_EQ(factory_.LastEngine()->Mode().speed, 200u);
  EXPECT_EQ(speech.Volume(), 49u);
}

TEST_F(Sapi4VoiceTest, TextIsSplitIntoLinesLikeAStringList) {
  Sapi4Voice speech(factory_);
  speech.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(speech.Text(), QStringList({"a", "b", "c", "d"}));
  speech.SetText("one\r\n");
  EXPECT_EQ(speech.Text(), QStringList({"one"}));
  speech.SetText("one\n\ntwo\r\r\n");
  EXPECT_EQ(speech.Text(), QStringList({"one", "", "two", ""}));
  speech.SetText("\n\r");
  EXPECT_EQ(speech.Text(), QStringList({"", ""}));
  speech.SetText("");
  EXPECT_THAT(speech.Text(), IsEmpty());
}

TEST_F(Sapi4VoiceTest, SpeakingSubmitsCrLfLinesWithATerminatingZero) {
  Sapi4Voice speech(factory_);
  EXPECT_EQ(SpeechExceptionOf([&] { speech.Speak(); }), "Speech Engine not selected");
  speech.SelectEngine("Sam");
  log().Clear();
  SpeakSapi4(speech, "first\nsecond");
  EXPECT_THAT(log().Take(), ElementsAre("TextData(0,0,first\\r\\nsecond\\r\\n\\0,16)"));
  EXPECT_THAT(speech.Text(), IsEmpty()) << "a long text would be held until the next reading";
  speech.SetText(QString::fromUtf8("h\u00e9"));
  speech.Speak();
  const std::vector<FakeTtsEngine::TextDataCall>& sent = factory_.LastEngine()->TextDataCalls();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].data, QByteArray("h\xc3\xa9\r\n\0", 6));
  EXPECT_EQ(sent[1].size, 6u);
  EXPECT_EQ(sent[1].character_set, 0);
  EXPECT_EQ(sent[1].options, 0u);
  ASSERT_NE(sent[1].buf_sink, nullptr);
  // A line far longer than the pieces it is converted in, a surrogate pair
  // across their boundary.
  const QString long_line = QString((1 << 16) - 1, u'a') + QStringLiteral("\U0001F600 end");
  speech.SetText(long_line);
  speech.Speak();
  EXPECT_EQ(factory_.LastEngine()->TextDataCalls().back().data,
            long_line.toUtf8() + QByteArray("\r\n\0", 3));
  // No lines: only the zero.
  speech.SetText("");
  speech.Speak();
  EXPECT_EQ(factory_.LastEngine()->TextDataCalls().back().data, QByteArray("\0", 1));

  // A refused text is not reported.
  log().FailOn("TextData");
  EXPECT_NO_THROW(speech.Speak());
}

TEST_F(Sapi4VoiceTest, FileOutputOpensTheFileAndFlushesWhenAudioStops) {
  Sapi4Voice speech(factory_);
  std::vector<std::string> events;
  speech.SetOnStop([&](TtsNotifySink&) {
    events.push_back("OnStop");
    log().Record(std::string("OnStop"));  // shows whether the flush came first
  });
  speech.SetOutput(Sapi4Output::kFile);
  speech.SetFilename("out.wav");
  speech.SelectEngine("Sam");
  speech.SetText("x");
  log().Clear();
  speech.Speak();
  factory_.LastEngine()->FireAudioStop();
  EXPECT_THAT(log().Take(),
              ElementsAre("SetFile(out.wav,1)", "TextData(0,0,x\\r\\n\\0,4)", "Flush", "OnStop"));
  EXPECT_THAT(events, ElementsAre("OnStop"));

  // The file cannot be opened: nothing is submitted and nothing is said.
  log().FailOn("SetFile", "Access is denied.", 0, 1);
  EXPECT_NO_THROW(speech.Speak());
  EXPECT_THAT(log().Take(), ElementsAre("SetFile(out.wav,1)"));

  // Sound device output neither opens nor flushes.
  speech.SetOutput(Sapi4Output::kSoundDevice);
  speech.SelectEngine("Sam");
  log().Clear();
  speech.Speak();
  factory_.LastEngine()->FireAudioStop();
  EXPECT_THAT(log().Take(), ElementsAre("TextData(0,0,x\\r\\n\\0,4)", "OnStop"));
  EXPECT_EQ(events.size(), 2u);
  // Switching to file output takes effect with the next selection: the sound
  // device is no file to flush.
  speech.SetOutput(Sapi4Output::kFile);
  factory_.LastEngine()->FireAudioStop();
  EXPECT_THAT(log().Take(), ElementsAre("OnStop"));
}

TEST_F(Sapi4VoiceTest, StopResetsTheAudioAndReportsAFailure) {
  Sapi4Voice speech(factory_);
  log().Clear();
  EXPECT_NO_THROW(speech.Stop());  // nothing selected yet: nothing to stop
  EXPECT_THAT(log().Calls(), IsEmpty());
  speech.SelectEngine("Mike");
  log().Clear();
  speech.Stop();
  EXPECT_THAT(log().Take(), ElementsAre("AudioReset"));
  log().FailOn("AudioReset", "The device is not ready.");
  EXPECT_EQ(MessageOf([&] { speech.Stop(); }), "The device is not ready.");
}

TEST_F(Sapi4VoiceTest, AnEngineReplacedWhileItSpeaksReportsItsStop) {
  // Selecting a mode makes a new engine; one that was speaking is silenced
  // with the old object and sends no stop: it is reported once for it.
  Sapi4Voice speech(factory_);
  std::vector<std::string> events;
  speech.SetOnStart([&](TtsNotifySink&) { events.push_back("start"); });
  speech.SetOnStop([&](TtsNotifySink&) { events.push_back("stop"); });
  speech.SelectEngine("Mike");
  factory_.LastEngine()->FireAudioStart();
  speech.SelectEngine("Sam");
  EXPECT_THAT(events, ElementsAre("start", "stop"));
  speech.SelectEngine("Mike");
  factory_.LastEngine()->FireAudioStart();
  factory_.LastEngine()->FireAudioStop();
  speech.SelectEngine("Sam");
  EXPECT_THAT(events, ElementsAre("start", "stop", "start", "stop"));
}

TEST_F(Sapi4VoiceTest, NotificationsBecomeEventsOnlyWhileTheComponentLives) {
  std::vector<std::string> events;
  std::shared_ptr<TtsNotifySink> late_sink;
  std::shared_ptr<TtsBufNotifySink> late_buf_sink;
  {
    Sapi4Voice speech(factory_);
    speech.SelectEngine("Mike");
    FakeTtsEngine& engine = *factory_.LastEngine();
    // Handlers not assigned are skipped.
    EXPECT_EQ(engine.FireAudioStart(), 1);
    EXPECT_EQ(engine.FireAttribChanged(3), 1);

    speech.SetOnStart([&](TtsNotifySink& sender) {
      EXPECT_EQ(&sender, engine.LastRegisteredSink().get());
      events.push_back("start");
    });
    speech.SetOnStop([&](TtsNotifySink&) { events.push_back("stop"); });
    engine.FireAudioStart();
    TtsMouth mouth;
    mouth.jaw_open = 9;
    engine.FireVisual(5, mouth);
    engine.FireAudioStop();
    EXPECT_THAT(events, ElementsAre("start", "stop"));

    speech.SetText("word word");
    speech.Speak();
    late_buf_sink = engine.TextDataCalls().back().buf_sink;
    EXPECT_TRUE(late_buf_sink->WordPosition(0, 5).Succeeded());
    EXPECT_TRUE(late_buf_sink->TextDataDone(0, 0).Succeeded());
    late_sink = engine.LastRegisteredSink();
  }
  // Notifications the engine had queued before the component went away.
  EXPECT_TRUE(late_sink->AudioStop(0).Succeeded());
  EXPECT_TRUE(late_sink->AudioStart(0).Succeeded());
  EXPECT_TRUE(late_buf_sink->WordPosition(0, 7).Succeeded());
  EXPECT_EQ(events.size(), 2u);
  EXPECT_THAT(factory_.LastEngine()->RegisteredSinks(), IsEmpty());
}

}  // namespace
}  // namespace voxmere
