// SPDX-License-Identifier: GPL-3.0-or-later
// The voice object on the real speech-dispatcher (the test's private daemon,
// playing into a null sink that AudioMonitor records).
#include <gtest/gtest.h>

#include <thread>

#include <QSet>
#include <algorithm>

#include "platform/exception.h"
#include "platform/speechd/speechd_voice_connector.h"
#include "speechd_test_support.h"
#include "support/audio_monitor.h"
#include "support/hostile_text.h"

namespace voxmere {
namespace {

using namespace std::chrono_literals;
using Server = SpeechVoiceServer;

constexpr char kSentence[] = "The quick brown fox jumps over the lazy dog.";
constexpr char kLongText[] =
    "This is a long text that keeps the voice busy for several seconds, so that there is "
    "time to stop it in the middle of a word and to listen for the silence that follows.";

class SpeechdVoiceServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::TestApplication();
    server_ = connector_.CreateInstance();
    ASSERT_TRUE(server_);
    events_ = std::make_unique<StreamEvents>(*server_);
  }
  void TearDown() override {
    events_.reset();
    server_.reset();
  }

  // Speaks and waits for the whole stream; returns the stream number.
  int SpeakAndWait(const QString& text, unsigned flags = Server::kFlagsAsync) {
    const int stream = server_->Speak(text, flags);
    EXPECT_GT(stream, 0);
    events_->WaitFor(Server::kEndStream, stream, 20s);
    return stream;
  }

  // How long the text sounds, from its first to its last loud sample.
  double SoundingMs(const QString& text) {
    monitor_.Clear();
    SpeakAndWait(text);
    const auto segments = monitor_.SoundSegments(400ms);
    if (segments.empty()) return 0;
    return Ms(segments.back().end - segments.front().begin);
  }

  AudioMonitor monitor_;
  SpeechdVoiceConnector connector_;
  std::shared_ptr<Server> server_;
  std::unique_ptr<StreamEvents> events_;
};

TEST_F(SpeechdVoiceServerTest, SpeaksAudiblyBetweenStartAndEnd) {
  EXPECT_EQ(connector_.GetActiveObject(), nullptr);
  const int stream =
      server_->Speak(QStringLiteral("<pitch middle=\"0\">") + kSentence, Server::kFlagsAsync);
  ASSERT_GT(stream, 0);
  const auto start = events_->WaitFor(Server::kStartStream, stream, 5s);
  EXPECT_TRUE(monitor_.WaitForSound(5s)) << "nothing audible on the sink";
  const auto end = events_->WaitFor(Server::kEndStream, stream, 20s);
  EXPECT_LT(start, end);
  ASSERT_EQ(events_->All().size(), 2u);
  EXPECT_EQ(events_->All()[0].dispatch_id, Server::kStartStream);
  EXPECT_EQ(events_->All()[1].dispatch_id, Server::kEndStream);
  // The sound is over when the end arrives (give the sink a moment).
  EXPECT_TRUE(monitor_.WaitForSilence(200ms, 2s));
}

TEST_F(SpeechdVoiceServerTest, QueuedTextsGiveTwoStreamsInOrder) {
  const int first = server_->Speak(QStringLiteral("First text."), Server::kFlagsAsync);
  const int second = server_->Speak(QStringLiteral("Second text."), Server::kFlagsAsync);
  ASSERT_NE(first, second);
  events_->WaitFor(Server::kEndStream, second, 20s);
  std::vector<std::pair<int, int>> order;
  for (const auto& event : events_->All()) order.emplace_back(event.dispatch_id, event.stream);
  const std::vector<std::pair<int, int>> expected{{Server::kStartStream, first},
                                                  {Server::kEndStream, first},
                                                  {Server::kStartStream, second},
                                                  {Server::kEndStream, second}};
  EXPECT_EQ(order, expected);
  EXPECT_GE(monitor_.SoundSegments(150ms).size(), 2u);
}

TEST_F(SpeechdVoiceServerTest, PurgeSilencesEndsTheStreamAndTheNextTextSpeaks) {
  const int speaking = server_->Speak(kLongText, Server::kFlagsAsync);
  const int queued = server_->Speak(kSentence, Server::kFlagsAsync);
  events_->WaitFor(Server::kStartStream, speaking, 5s);
  ASSERT_TRUE(monitor_.WaitForSound(5s));
  test_support::PumpEventsFor(300ms);
  const auto purged = TestClock::now();
  EXPECT_EQ(server_->Speak(QString(), Server::kFlagsPurgeBeforeSpeak), 0);
  const auto silent = monitor_.WaitForSilence(150ms, 3s);
  ASSERT_TRUE(silent);
  // The daemon plays espeak-ng's audio in chunks of 300 ms (Debian's
  // EspeakAudioChunkSize) and stops between them: its own "spd-say -C"
  // silences in 200-330 ms here.
  EXPECT_LT(Ms(*silent - purged), 450) << "the voice went on after the purge";
  events_->WaitFor(Server::kEndStream, speaking, 2s);
  test_support::PumpEventsFor(300ms);
  EXPECT_FALSE(events_->Has(Server::kStartStream, queued)) << "the queued text was not purged";
  EXPECT_FALSE(events_->Has(Server::kEndStream, queued)) << "an end without a start";

  monitor_.Clear();
  const int next = SpeakAndWait(kSentence);
  EXPECT_TRUE(events_->Has(Server::kStartStream, next));
  EXPECT_FALSE(monitor_.SoundSegments(100ms).empty()) << "nothing audible after the purge";
}

TEST_F(SpeechdVoiceServerTest, PurgeWithTextReplacesWhatIsSpeaking) {
  const int speaking = server_->Speak(kLongText, Server::kFlagsAsync);
  events_->WaitFor(Server::kStartStream, speaking, 5s);
  const int replacing = server_->Speak(kSentence, Server::kFlagsPurgeBeforeSpeak);
  events_->WaitFor(Server::kEndStream, replacing, 20s);
  ASSERT_EQ(events_->All().size(), 4u);
  EXPECT_EQ(events_->All()[1].dispatch_id, Server::kEndStream);
  EXPECT_EQ(events_->All()[1].stream, speaking);
  EXPECT_EQ(events_->All()[2].stream, replacing);
}

TEST_F(SpeechdVoiceServerTest, HigherRateShortensTheSound) {
  server_->SetRate(0);
  const double normal = SoundingMs(kSentence);
  server_->SetRate(10);
  const double fast = SoundingMs(kSentence);
  server_->SetRate(-10);
  const double slow = SoundingMs(kSentence);
  ASSERT_GT(normal, 500);
  EXPECT_LT(fast, normal * 0.75) << "fast " << fast << " ms, normal " << normal << " ms";
  EXPECT_GT(slow, normal * 1.3) << "slow " << slow << " ms, normal " << normal << " ms";
  // Outside the range counts as the limit.
  server_->SetRate(25);
  EXPECT_NEAR(SoundingMs(kSentence), fast, fast * 0.15);
}

TEST_F(SpeechdVoiceServerTest, VolumeScalesTheLevel) {
  server_->SetVolume(100);
  monitor_.Clear();
  SpeakAndWait(kSentence);
  auto segments = monitor_.SoundSegments(400ms);
  ASSERT_FALSE(segments.empty());
  const double loud = monitor_.Rms(segments.front().begin, segments.back().end);
  server_->SetVolume(30);
  monitor_.Clear();
  const auto before = TestClock::now();
  SpeakAndWait(kSentence);
  const double quiet = monitor_.Rms(before, TestClock::now());
  EXPECT_LT(quiet, loud * 0.6) << "loud " << loud << ", quiet " << quiet;
  EXPECT_GT(quiet, 0);
}

TEST_F(SpeechdVoiceServerTest, PitchMarkupRaisesThePitch) {
  auto pitch_of = [&](const QString& text) {
    monitor_.Clear();
    SpeakAndWait(text);
    const auto segments = monitor_.SoundSegments(400ms);
    if (segments.empty()) return 0.0;
    return monitor_.EstimatePitchHz(segments.front().begin, segments.back().end);
  };
  const double low = pitch_of(QStringLiteral("<pitch middle=\"-10\">") + kSentence);
  const double middle = pitch_of(QStringLiteral("<pitch middle='0'>") + kSentence);
  const double high = pitch_of(QStringLiteral("<pitch middle = \"10\" >") + kSentence);
  ASSERT_GT(low, 0);
  EXPECT_GT(middle, low * 1.15) << low << " / " << middle << " / " << high;
  EXPECT_GT(high, middle * 1.15) << low << " / " << middle << " / " << high;
}

// Only the leading tag is the program's: a pitch tag further on is words the
// user selected, spoken at the leading tag's pitch in one stream.
TEST_F(SpeechdVoiceServerTest, PitchChangeInsideOneTextKeepsOneStream) {
  monitor_.Clear();
  const int stream = SpeakAndWait(
      QStringLiteral("<pitch middle=\"-10\">Low words spoken first.<pitch middle=\"20\">High words "
                     "spoken afterwards.</pitch>"));
  ASSERT_EQ(events_->All().size(), 2u);
  EXPECT_EQ(events_->All()[0].stream, stream);
  const auto segments = monitor_.SoundSegments(400ms);
  ASSERT_FALSE(segments.empty());
  const auto begin = segments.front().begin, end = segments.back().end;
  const auto half = begin + (end - begin) / 2;
  const double first = monitor_.EstimatePitchHz(begin, half);
  const double second = monitor_.EstimatePitchHz(half, end);
  EXPECT_LT(second, first * 1.2) << first << " then " << second;
}

// What looks like markup is read out: no pause of ten seconds, no crash on
// any of it, and the daemon speaks on afterwards. The long text goes in
// pieces, so it starts at once.
TEST_F(SpeechdVoiceServerTest, MarkupAndControlCharactersAreSpokenAsText) {
  const double sounding = SoundingMs("<pitch middle=\"0\">" + test_support::kBreakLookAlike);
  EXPECT_GT(sounding, 0);
  EXPECT_LT(sounding, 6000) << "the look-alike of a ten-second pause took as long";
  EXPECT_EQ(monitor_.SoundSegments(1500ms).size(), 1u) << "a long pause inside the text";

  monitor_.Clear();
  const int stream = server_->Speak("<pitch middle=\"0\">" + test_support::HostileSelection(),
                                    Server::kFlagsAsync);
  ASSERT_TRUE(monitor_.WaitForSound(5s));
  test_support::PumpEventsFor(2s);
  server_->Speak(QString(), Server::kFlagsPurgeBeforeSpeak);
  events_->WaitFor(Server::kEndStream, stream, 5s);
  monitor_.Clear();
  SpeakAndWait(QString::fromUtf8(kSentence));
  EXPECT_FALSE(monitor_.SoundSegments(100ms).empty()) << "nothing spoken afterwards";
}

TEST_F(SpeechdVoiceServerTest, MarkupThatIsNotThePitchTagIsSpokenNotDropped) {
  // Read as markup by the engine, this text would be silent.
  monitor_.Clear();
  SpeakAndWait(QStringLiteral("<unknown attribute='x'/>"));
  EXPECT_FALSE(monitor_.SoundSegments(100ms).empty());
  monitor_.Clear();
  SpeakAndWait(QStringLiteral("<pitch middle=\"2\"><b>&amp;</b> & <"));
  EXPECT_FALSE(monitor_.SoundSegments(100ms).empty());
}

TEST_F(SpeechdVoiceServerTest, EveryListedVoiceHasAUniqueDescriptionAndCanBeChosen) {
  const auto voices = server_->GetVoices(QString(), QString());
  ASSERT_GT(voices->Count(), 10);
  QSet<QString> descriptions;
  int german = -1;
  for (int i = 0; i < voices->Count(); ++i) {
    const QString description = voices->Item(i)->GetDescription(0);
    EXPECT_FALSE(description.isEmpty());
    EXPECT_FALSE(description.contains(u'+'))
        << "a variant is listed: " << description.toStdString();
    descriptions.insert(description);
    if (description.startsWith(u"German")) german = i;
  }
  EXPECT_EQ(descriptions.size(), voices->Count());
  EXPECT_THROW(voices->Item(voices->Count()), Exception);
  EXPECT_THROW(voices->Item(-1), Exception);
  ASSERT_GE(german, 0);

  server_->PutPropertyByName(QStringLiteral("Voice"), voices->Item(german));
  monitor_.Clear();
  SpeakAndWait(QStringLiteral("Guten Tag, wie geht es Ihnen?"));
  EXPECT_FALSE(monitor_.SoundSegments(100ms).empty());
  EXPECT_THROW(server_->PutPropertyByName(QStringLiteral("Rate"), voices->Item(0)), Exception);
  EXPECT_THROW(server_->PutPropertyByName(QStringLiteral("Voice"), nullptr), Exception);
  // The second listing is the cached one.
  const auto started = TestClock::now();
  EXPECT_EQ(server_->GetVoices(QString(), QString())->Count(), voices->Count());
  EXPECT_LT(Ms(TestClock::now() - started), 50);

  // Listed early, as the program does while it starts: the same voices.
  SpeechdVoiceConnector early;
  EXPECT_TRUE(early.VoicesReady());
  early.PrefetchVoices();
  // The daemon takes a good part of a second to list espeak-ng's voices.
  EXPECT_FALSE(early.VoicesReady());
  while (!early.VoicesReady()) std::this_thread::sleep_for(5ms);
  const auto prefetched = early.CreateInstance()->GetVoices(QString(), QString());
  ASSERT_EQ(prefetched->Count(), voices->Count());
  for (int i = 0; i < voices->Count(); ++i) {
    EXPECT_EQ(prefetched->Item(i)->GetDescription(0), voices->Item(i)->GetDescription(0));
  }
}

}  // namespace
}  // namespace voxmere
