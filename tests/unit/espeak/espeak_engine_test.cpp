// SPDX-License-Identifier: GPL-3.0-or-later
// The engine objects on the real espeak-ng, writing files (no audio server
// needed).
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <vector>

#include "platform/espeak/espeak_tts_engine.h"
#include "platform/espeak/espeak_tts_factory.h"
#include "support/test_application.h"

namespace voxmere {
namespace {

// Records notifications in order, with whether each came on the
// application's thread.
class Recorder : public TtsNotifySink, public TtsBufNotifySink {
 public:
  std::vector<std::string> calls;
  bool off_thread = false;

  TtsResult AttribChanged(std::uint32_t) override { return Note("attrib"); }
  TtsResult AudioStart(std::uint64_t) override { return Note("start"); }
  TtsResult AudioStop(std::uint64_t) override { return Note("stop"); }
  TtsResult Visual(std::uint64_t, char, char, std::uint32_t, const TtsMouth&) override {
    return Note("visual");
  }
  TtsResult TextDataDone(std::uint64_t, std::uint32_t) override { return Note("done"); }
  TtsResult TextDataStarted(std::uint64_t) override { return Note("started"); }
  TtsResult BookMark(std::uint64_t, std::uint32_t) override { return Note("mark"); }
  TtsResult WordPosition(std::uint64_t, std::uint32_t) override { return Note("word"); }

  int Count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }

 private:
  TtsResult Note(const char* call) {
    off_thread = off_thread || QThread::currentThread() != test_support::TestApplication().thread();
    calls.emplace_back(call);
    return TtsResult::Ok();
  }
};

QByteArray Text(const char* text) { return QByteArray(text) + "\r\n" + '\0'; }

TtsResult Speak(TtsEngine& engine, const char* text, std::shared_ptr<TtsBufNotifySink> buf = {}) {
  const QByteArray bytes = Text(text);
  return engine.TextData(0, 0, bytes, static_cast<std::uint32_t>(bytes.size()), std::move(buf));
}

// A file-writing factory with the modes listed for an English locale.
struct FileSetup {
  QTemporaryDir folder;
  EspeakTtsFactory factory{EspeakTtsFactory::Options{.sound_device = false}};
  std::shared_ptr<TtsEnum> modes;
  std::shared_ptr<TtsAudioDestination> file;
  std::vector<TtsModeInfo> infos;

  FileSetup() {
    test_support::TestApplication();
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "en_GB.UTF-8");
    EXPECT_TRUE(factory.CreateEnumerator(&modes).Succeeded());
    EXPECT_TRUE(
        factory.CreateAudioDestination(TtsObjectFactory::Destination::kFile, &file).Succeeded());
    TtsModeInfo mode;
    while (modes && modes->Next(&mode).code == TtsResult::Code::kOk) infos.push_back(mode);
  }

  std::shared_ptr<TtsEngine> Select(std::size_t index = 0) {
    std::shared_ptr<TtsEngine> engine;
    if (index < infos.size()) modes->Select(infos[index].mode_id, file, &engine);
    return engine;
  }
};

TEST(EspeakEngineTest, EnumeratorListsEveryVoiceOnceInAStableOrder) {
  FileSetup setup;
  ASSERT_GT(setup.infos.size(), 100u);
  EXPECT_EQ(setup.infos[0].speaker, "English (Great Britain)") << "the locale's own voice first";
  EXPECT_TRUE(setup.infos[1].language_dialect.startsWith("en"));
  QSet<QString> ids, names;
  for (const TtsModeInfo& info : setup.infos) {
    ids.insert(info.mode_id);
    names.insert(info.mode_name.toLower());
    if (QStandardPaths::findExecutable("mbrola").isEmpty()) {
      EXPECT_FALSE(info.speaker.contains("mbrola") || info.speaker.contains("-mb-"))
          << "no MBROLA voices without MBROLA: " << info.speaker.toStdString();
    }
  }
  EXPECT_EQ(ids.size(), static_cast<qsizetype>(setup.infos.size()));
  EXPECT_EQ(names.size(), static_cast<qsizetype>(setup.infos.size()));

  // Found again by position, as the adapter does.
  TtsModeInfo mode;
  ASSERT_TRUE(setup.modes->Reset().Succeeded());
  EXPECT_EQ(setup.modes->Skip(5).code, TtsResult::Code::kOk);
  ASSERT_EQ(setup.modes->Next(&mode).code, TtsResult::Code::kOk);
  EXPECT_EQ(mode.mode_id, setup.infos[5].mode_id);
  EXPECT_EQ(setup.modes->Skip(100000).code, TtsResult::Code::kFalse);
  EXPECT_EQ(setup.modes->Next(&mode).code, TtsResult::Code::kFalse);
  EXPECT_FALSE(setup.modes->Next(nullptr).Succeeded());
  std::shared_ptr<TtsEnum> again;
  ASSERT_TRUE(setup.factory.CreateEnumerator(&again).Succeeded());
  ASSERT_EQ(again->Next(&mode).code, TtsResult::Code::kOk);
  EXPECT_EQ(mode.mode_id, setup.infos[0].mode_id);

  std::shared_ptr<TtsEngine> engine;
  EXPECT_FALSE(setup.modes->Select("{00000000-0000-0000-0000-000000000000}", setup.file, &engine)
                   .Succeeded());
  EXPECT_FALSE(setup.modes->Select(setup.infos[0].mode_id, nullptr, &engine).Succeeded());
  EXPECT_EQ(engine, nullptr);
  EXPECT_TRUE(
      setup.modes->Select(setup.infos[0].mode_id.toLower(), setup.file, &engine).Succeeded());
}

TEST(EspeakEngineTest, AttributesAnswerTheRangeProbeWithTheEngineLimits) {
  FileSetup setup;
  const std::shared_ptr<TtsEngine> engine = setup.Select();
  ASSERT_TRUE(engine);
  EXPECT_TRUE(engine->QueryAttributes().Succeeded());
  EXPECT_TRUE(engine->QueryDialogs().Succeeded());

  std::uint16_t pitch = 0;
  std::uint32_t value = 0;
  ASSERT_TRUE(engine->PitchGet(&pitch).Succeeded());
  EXPECT_EQ(pitch, 50u);
  engine->PitchSet(65535);
  engine->PitchGet(&pitch);
  EXPECT_EQ(pitch, 100u);
  engine->PitchSet(0);
  engine->PitchGet(&pitch);
  EXPECT_EQ(pitch, 0u);

  engine->SpeedSet(4294967295u);
  engine->SpeedGet(&value);
  EXPECT_EQ(value, 450u);
  engine->SpeedSet(0);
  engine->SpeedGet(&value);
  EXPECT_EQ(value, 80u);

  engine->RealTimeSet(4294967295u);
  engine->RealTimeGet(&value);
  EXPECT_EQ(value, 100u);
  engine->RealTimeSet(0);
  engine->RealTimeGet(&value);
  EXPECT_EQ(value, 100u);

  engine->VolumeGet(&value);
  EXPECT_EQ(value, 0xFFFFFFFFu);
  engine->VolumeSet(0x7FFF7FFFu);
  engine->VolumeGet(&value);
  EXPECT_EQ(value, 0x7FFF7FFFu) << "both channels come back";

  // The tags the adapter injects set the same attributes.
  EXPECT_TRUE(engine->Inject("\\Spd=180\\").Succeeded());
  EXPECT_TRUE(engine->Inject("\\Pit=64\\").Succeeded());
  EXPECT_TRUE(engine->Inject("\\Vol=2147450879\\").Succeeded());
  engine->SpeedGet(&value);
  EXPECT_EQ(value, 180u);
  engine->PitchGet(&pitch);
  EXPECT_EQ(pitch, 64u);
  engine->VolumeGet(&value);
  EXPECT_EQ(value & 0xFFFFu, 32767u);

  EXPECT_FALSE(engine->PitchGet(nullptr).Succeeded());
  EXPECT_FALSE(engine->SpeedGet(nullptr).Succeeded());
  EXPECT_FALSE(engine->VolumeGet(nullptr).Succeeded());
}

TEST(EspeakEngineTest, EachTextGetsItsNotificationsOnTheApplicationThreadAfterTheCall) {
  FileSetup setup;
  const QString path = setup.folder.filePath("speech.wav");
  ASSERT_TRUE(setup.file->SetFile(path, 1).Succeeded());
  const std::shared_ptr<TtsEngine> engine = setup.Select();
  ASSERT_TRUE(engine);
  auto recorder = std::make_shared<Recorder>();
  std::uint32_t key = 0;
  ASSERT_TRUE(engine->Register(recorder, &key).Succeeded());
  EXPECT_NE(key, 0u);

  auto buffer = std::make_shared<Recorder>();
  ASSERT_TRUE(Speak(*engine, "One.", buffer).Succeeded());
  ASSERT_TRUE(Speak(*engine, "Two.").Succeeded());
  EXPECT_TRUE(recorder->calls.empty()) << "never called inside a call into the engine";
  ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->Count("stop") == 2; }, 10000));
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"start", "stop", "start", "stop"}));
  EXPECT_EQ(buffer->calls, (std::vector<std::string>{"started", "done"}));
  EXPECT_FALSE(recorder->off_thread);
  EXPECT_FALSE(buffer->off_thread);
  ASSERT_TRUE(setup.file->Flush().Succeeded());
  EXPECT_GT(QFileInfo(path).size(), 44 + 2 * 11025) << "two words, at least half a second";

  // An unregistered sink hears nothing more; bad keys fail.
  ASSERT_TRUE(engine->UnRegister(key).Succeeded());
  EXPECT_FALSE(engine->UnRegister(key).Succeeded());
  auto late = std::make_shared<Recorder>();
  ASSERT_TRUE(Speak(*engine, "Three.", late).Succeeded());
  ASSERT_TRUE(QTest::qWaitFor([&] { return late->Count("done") == 1; }, 10000));
  EXPECT_EQ(recorder->calls.size(), 4u);
}

TEST(EspeakEngineTest, RejectsBadTextsAndSkipsEmptyOnes) {
  FileSetup setup;
  ASSERT_TRUE(setup.file->SetFile(setup.folder.filePath("x.wav"), 1).Succeeded());
  const std::shared_ptr<TtsEngine> engine = setup.Select();
  ASSERT_TRUE(engine);
  auto recorder = std::make_shared<Recorder>();
  std::uint32_t key = 0;
  ASSERT_TRUE(engine->Register(recorder, &key).Succeeded());

  const QByteArray text = Text("Hello.");
  EXPECT_FALSE(engine->TextData(0, 0, text, 0, nullptr).Succeeded());
  EXPECT_FALSE(engine->TextData(0, 0, text, text.size() + 1, nullptr).Succeeded());
  EXPECT_FALSE(engine->TextData(1, 0, text, text.size(), nullptr).Succeeded())
      << "phonetic text is not supported";
  EXPECT_TRUE(Speak(*engine, "").Succeeded());
  EXPECT_TRUE(Speak(*engine, "  ").Succeeded());
  // Only the bytes before the terminating zero are spoken.
  const QByteArray with_tail = Text("Hi.") + "never spoken";
  EXPECT_TRUE(engine->TextData(0, 0, with_tail, with_tail.size(), nullptr).Succeeded());
  ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->Count("stop") == 1; }, 10000));
  QTest::qWait(100);
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"start", "stop"}))
      << "empty texts make no sound and no notifications";
}

TEST(EspeakEngineTest, ResetAndReleaseDropQueuedTextsAndKeepNotificationsPaired) {
  FileSetup setup;
  ASSERT_TRUE(setup.file->SetFile(setup.folder.filePath("x.wav"), 1).Succeeded());
  std::shared_ptr<TtsEngine> engine = setup.Select();
  ASSERT_TRUE(engine);
  auto recorder = std::make_shared<Recorder>();
  std::uint32_t key = 0;
  ASSERT_TRUE(engine->Register(recorder, &key).Succeeded());
  const QByteArray many =
      QByteArray("A long text to be dropped before it is written. ").repeated(40);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(Speak(*engine, many.constData()).Succeeded());
  ASSERT_TRUE(engine->AudioReset().Succeeded());
  QTest::qWait(300);
  // Whatever had started before the reset was ended by it; nothing after.
  EXPECT_EQ(recorder->Count("start"), recorder->Count("stop"));
  EXPECT_LE(recorder->Count("start"), 1);

  const std::size_t before = recorder->calls.size();
  ASSERT_TRUE(Speak(*engine, "Still speaking.").Succeeded());
  ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->calls.size() == before + 2; }, 10000));
  EXPECT_EQ(recorder->calls[before], "start");
  EXPECT_EQ(recorder->calls[before + 1], "stop");

  // A released engine with texts queued stops at once and stays silent.
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(Speak(*engine, many.constData()).Succeeded());
  const std::size_t queued = recorder->calls.size();
  engine.reset();
  QTest::qWait(300);
  EXPECT_EQ(recorder->calls.size(), queued);
}

}  // namespace
}  // namespace voxmere
