// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/say_speech.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "fakes/fake_speech_voice.h"
#include "fakes/fake_tts_engine.h"
#include "support/test_application.h"

namespace voxmere {
namespace {

// Two espeak-ng modes (one listed under its shorter speaker name) and two
// speech-dispatcher voices.
struct World {
  FakeTtsObjectFactory sapi4;
  FakeSpeechVoiceConnector sapi5;
  QTemporaryDir dir;
  int files = 0;

  explicit World(bool with_sapi5 = true) {
    sapi4.AddMode("English (Great Britain) male", "en-gb", 2);
    FakeTtsMode& german = sapi4.AddMode("de", "German");
    german.min_speed = 80;
    german.max_speed = 450;
    german.speed = 175;
    german.min_pitch = 0;
    german.max_pitch = 100;
    german.pitch = 50;
    auto server = std::make_shared<FakeSpeechVoiceServer>(sapi5.Log());
    if (with_sapi5) server->SetVoices({"Alice (en)", "Bruno (it)"});
    sapi5.SetInstance(server);
  }

  // Each settings file in its own folder: a CfgFile reads its file afresh
  // on every call.
  CfgFile Cfg(const QByteArray& contents) {
    const QString path = dir.filePath(QStringLiteral("cfg%1.ini").arg(++files));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    return CfgFile(path);
  }

  FakeSpeechVoiceServer& Server() { return *sapi5.Instance(); }
};

int FailureStatus(const std::function<void()>& action, QString* message = nullptr) {
  try {
    action();
  } catch (const SayFailure& failure) {
    if (message) *message = failure.message;
    return failure.status;
  }
  return 0;
}

TEST(SayEnginesTest, ListsBothEnginesInCatalogueOrderAndExplainsWhenNothingWorks) {
  World world;
  SayEngines engines(world.sapi4, world.sapi5, false);
  EXPECT_EQ(VoiceListing(engines),
            "espeak-ng\ten-gb\n"
            "espeak-ng\tde\n"
            "speech-dispatcher\tAlice (en) (SAPI5)\n"
            "speech-dispatcher\tBruno (it) (SAPI5)\n");

  // No modes, and speech-dispatcher refusing: status 1 naming both reasons.
  FakeTtsObjectFactory no_modes;
  FakeSpeechVoiceConnector dead;
  dead.Log()->FailOn("CreateInstance", "cannot reach the speech-dispatcher daemon");
  SayEngines none(no_modes, dead, false);
  EXPECT_EQ(VoiceListing(none), "");
  QString message;
  SayOptions options;
  EXPECT_EQ(FailureStatus([&] { ChooseVoice(none, options, world.Cfg("")); }, &message),
            kSayExitNoEngine);
  EXPECT_TRUE(message.contains("espeak-ng")) << message.toStdString();
  EXPECT_TRUE(message.contains("cannot reach the speech-dispatcher daemon"))
      << message.toStdString();
}

TEST(SayEnginesTest, ChoosesTheStoredDefaultVoiceOrTheNamedOneWithCheckedNumbers) {
  World world;
  SayEngines engines(world.sapi4, world.sapi5, false);
  SayOptions options;

  // The stored default: a speech-dispatcher voice stored without its tag.
  CfgFile stored = world.Cfg(
      "[Speech]\r\nVoice=bruno (IT)\r\nSAPIVersion=5\r\nSpeed=210\r\nPitch=150\r\nVolume=70\r\n");
  SayVoice voice = ChooseVoice(engines, options, stored);
  EXPECT_EQ(voice.position, 3);
  EXPECT_EQ(voice.speed, 210);
  EXPECT_EQ(voice.pitch, 150);
  EXPECT_EQ(voice.volume, 70);

  // Numbers stored out of range are brought in, as the options window's bars
  // would; numbers typed out of range are refused.
  CfgFile wild = world.Cfg("[Speech]\r\nVoice=de\r\nSAPIVersion=4\r\nSpeed=9999\r\nPitch=-4\r\n");
  voice = ChooseVoice(engines, options, wild);
  EXPECT_EQ(voice.position, 1);
  EXPECT_EQ(voice.speed, 450);
  EXPECT_EQ(voice.pitch, 0);
  EXPECT_EQ(voice.volume, 100) << "no stored volume: the engine's own";
  options.speed = 451;
  QString message;
  EXPECT_EQ(FailureStatus([&] { ChooseVoice(engines, options, wild); }, &message), kSayExitUsage);
  EXPECT_TRUE(message.contains("80..450")) << message.toStdString();

  // A named voice ignores the stored numbers and takes its own defaults.
  options = SayOptions();
  options.voice = QStringLiteral("ALICE (EN) (sapi5)");
  voice = ChooseVoice(engines, options, stored);
  EXPECT_EQ(voice.position, 2);
  EXPECT_EQ(voice.speed, 135);
  EXPECT_EQ(voice.pitch, 105);
  EXPECT_EQ(voice.volume, 100);
  options.pitch = 29;
  EXPECT_EQ(FailureStatus([&] { ChooseVoice(engines, options, stored); }), kSayExitUsage);

  // Unknown names, and WAV output from a speech-dispatcher voice, are refused.
  options = SayOptions();
  options.voice = QStringLiteral("Nobody");
  EXPECT_EQ(FailureStatus([&] { ChooseVoice(engines, options, stored); }, &message), kSayExitUsage);
  EXPECT_TRUE(message.contains("unknown voice 'Nobody'"));
  options = SayOptions();
  options.wav_file = QStringLiteral("out.wav");
  EXPECT_EQ(FailureStatus([&] { ChooseVoice(engines, options, stored); }), kSayExitUsage);

  // A stored voice that is not installed falls back to the first voice.
  voice = ChooseVoice(engines, SayOptions(), world.Cfg("[Speech]\r\nVoice=Gone\r\n"));
  EXPECT_EQ(voice.position, 0);
}

TEST(SayEnginesTest, SpeaksAndReturnsOnlyWhenItsSpeechHasEnded) {
  test_support::TestApplication();
  World world;
  SayEngines engines(world.sapi4, world.sapi5, false);

  // speech-dispatcher: pitch 105 is markup -5; another stream's end does not
  // end the wait, ours does.
  world.sapi5.Log()->Clear();
  QTimer::singleShot(0, [&] {
    world.Server().StartStream(1);
    world.Server().EndStream(7);
    QTimer::singleShot(20, [&] { world.Server().EndStream(1); });
  });
  SpeakAndWait(engines, {2, 135, 105, 80}, QStringLiteral("hello"), 5000);
  EXPECT_EQ(world.Server().CurrentVoice(), "Alice (en)");
  EXPECT_EQ(world.Server().Rate(), -3);
  EXPECT_EQ(world.Server().Volume(), 80);
  EXPECT_EQ(world.sapi5.Log()->Calls().back(), "Speak(<pitch middle=\"-5\">hello,1)");

  // espeak-ng: the tags, then the text; the stop notification ends the wait.
  QTimer::singleShot(0, [&] {
    world.sapi4.LastEngine()->FireAudioStart();
    world.sapi4.LastEngine()->FireAudioStop();
  });
  SpeakAndWait(engines, {1, 200, 60, 50}, QStringLiteral("hallo"), 5000);
  const auto& calls = world.sapi4.LastEngine()->TextDataCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].data, QByteArray("hallo\r\n", 8));
  EXPECT_EQ(world.sapi4.Log()->CountOf("Inject"), 3);

  // Speech that never starts fails after the bound instead of hanging.
  QString message;
  EXPECT_EQ(FailureStatus(
                [&] {
                  SpeakAndWait(engines, {0, 175, 50, 100}, "x", 50);
                },
                &message),
            kSayExitNoEngine);
  EXPECT_TRUE(message.contains("did not start")) << message.toStdString();
}

}  // namespace
}  // namespace voxmere
