// SPDX-License-Identifier: GPL-3.0-or-later
// A daemon without sound, none at all, a stopped one and one that dies: the
// voice object fails within its bounds and recovers when the daemon does.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/exception.h"
#include "platform/speechd/speechd_voice_connector.h"
#include "speechd_test_support.h"
#include "support/audio_monitor.h"
#include "support/event_wait.h"

namespace voxmere {
namespace {

using namespace std::chrono_literals;
using Server = SpeechVoiceServer;

constexpr char kLongText[] =
    "This is a long text that keeps the voice busy for several seconds, long enough to pull "
    "the daemon away while it is still speaking.";

SpeechdOptions OptionsFor(const SpeechdAddress& address, bool autospawn = false) {
  SpeechdOptions options;
  options.address = address;
  options.autospawn = autospawn;
  return options;
}

// Runs `call`, expects it to throw voxmere::Exception, and returns how long
// it took in milliseconds.
template <typename Call>
double ThrowingMs(Call call, QString* message = nullptr) {
  const auto started = TestClock::now();
  try {
    call();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    if (message != nullptr) *message = e.Message();
  }
  return Ms(TestClock::now() - started);
}

TEST(SpeechdFailureTest, NoAudioServerFailsTheSoundCheckWithinThreeSeconds) {
  test_support::TestApplication();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent"));
  PrivateSpeechd daemon(environment);
  SpeechdVoiceConnector connector(OptionsFor(daemon.Address()));
  QString message;
  const double took = ThrowingMs([&] { connector.CreateInstance(); }, &message);
  EXPECT_LT(took, 3000);
  EXPECT_TRUE(message.contains(QStringLiteral("sound"))) << message.toStdString();
}

TEST(SpeechdFailureTest, NoDaemonFailsAtOnceWithoutAutospawn) {
  test_support::TestApplication();
  QTemporaryDir folder;
  SpeechdAddress address;
  address.socket_path = folder.filePath(QStringLiteral("nothing.sock"));
  SpeechdVoiceConnector connector(OptionsFor(address));
  QString message;
  EXPECT_LT(ThrowingMs([&] { connector.CreateInstance(); }, &message), 500);
  EXPECT_TRUE(message.contains(QStringLiteral("not running"))) << message.toStdString();

  SpeechdOptions unknown;
  unknown.address = address;
  unknown.address->method = SpeechdAddress::Method::kInetSocket;
  unknown.address->host = QStringLiteral("127.0.0.1");
  unknown.address->port = 1;  // nothing listens on port 1
  unknown.autospawn = false;
  SpeechdVoiceConnector inet(unknown);
  EXPECT_LT(ThrowingMs([&] { inet.CreateInstance(); }), 500);
}

TEST(SpeechdFailureTest, AutospawnStartsADaemonWhereNoneListens) {
  test_support::TestApplication();
  AudioMonitor monitor;
  // A spawned daemon only takes the socket its configuration names: the
  // user's default one (the test's private runtime folder, where nothing
  // listens yet).
  SpeechdAddress address;
  address.socket_path =
      qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/speech-dispatcher/speechd.sock");
  ASSERT_FALSE(QFileInfo::exists(address.socket_path));
  {
    SpeechdVoiceConnector connector(OptionsFor(address, /*autospawn=*/true));
    // The early listing finds no daemon; the voices are listed once the
    // connection has started one.
    connector.PrefetchVoices();
    const auto started = TestClock::now();
    auto server = connector.CreateInstance();
    EXPECT_LT(Ms(TestClock::now() - started), 3000);
    EXPECT_GT(server->GetVoices(QString(), QString())->Count(), 10);
    StreamEvents events(*server);
    const int stream = server->Speak(QStringLiteral("Started on demand."), Server::kFlagsAsync);
    events.WaitFor(Server::kEndStream, stream, 10s);
    EXPECT_FALSE(monitor.SoundSegments(100ms).empty());
  }
}

TEST(SpeechdFailureTest, StoppedDaemonCostsBoundedWaitsAndIsUsedAgainWhenItResumes) {
  test_support::TestApplication();
  AudioMonitor monitor;
  PrivateSpeechd daemon;
  SpeechdVoiceConnector connector(OptionsFor(daemon.Address()));
  auto server = connector.CreateInstance();
  auto events = std::make_unique<StreamEvents>(*server);
  server->SetRate(3);

  daemon.Stop();
  // The call waits its timeout; after that the session is known dead and the
  // next call only asks whether the daemon answers again.
  EXPECT_LT(ThrowingMs([&] { server->Speak(QStringLiteral("Nobody listens."), 1); }), 2600);
  EXPECT_LT(ThrowingMs([&] { server->SetVolume(80); }), 1300);
  SpeechdVoiceConnector second(OptionsFor(daemon.Address()));
  EXPECT_LT(ThrowingMs([&] { second.CreateInstance(); }), 3000);

  daemon.Continue();
  monitor.Clear();
  const int stream = server->Speak(QStringLiteral("Back again."), Server::kFlagsAsync);
  events->WaitFor(Server::kEndStream, stream, 10s);
  EXPECT_FALSE(monitor.SoundSegments(100ms).empty());

  daemon.Stop();
  EXPECT_LT(ThrowingMs([&] { server->Speak(QStringLiteral("Again nobody."), 1); }), 2600);
  // Letting go of the voice object does not hang on the stopped daemon.
  const auto released = TestClock::now();
  events.reset();
  server.reset();
  EXPECT_LT(Ms(TestClock::now() - released), 1000);
  daemon.Continue();
}

TEST(SpeechdFailureTest, DaemonDyingMidSpeechEndsTheStreamAndANewOneIsUsed) {
  test_support::TestApplication();
  AudioMonitor monitor;
  PrivateSpeechd daemon;
  SpeechdVoiceConnector connector(OptionsFor(daemon.Address()));
  auto server = connector.CreateInstance();
  StreamEvents events(*server);
  const int stream = server->Speak(kLongText, Server::kFlagsAsync);
  events.WaitFor(Server::kStartStream, stream, 5s);
  daemon.Kill();
  // No call is needed for the reading to end.
  const auto killed = TestClock::now();
  const auto ended = events.WaitFor(Server::kEndStream, stream, 3s);
  EXPECT_LT(Ms(ended - killed), 1000);

  daemon.Start();
  monitor.Clear();
  const int next = server->Speak(QStringLiteral("A new daemon speaks."), Server::kFlagsAsync);
  EXPECT_NE(next, stream) << "stream numbers repeat on the new connection";
  events.WaitFor(Server::kEndStream, next, 10s);
  EXPECT_TRUE(events.Has(Server::kStartStream, next));
  EXPECT_FALSE(monitor.SoundSegments(100ms).empty());
}

// with_services.sh's audio server or speech-dispatcher killed (as a crash)
// or started again.
bool Daemons(const char* action, const char* name) {
  return test_support::RunProcess(qEnvironmentVariable("VOXMERE_TEST_DAEMONS"), {action, name},
                                  20000)
      .ok;
}

TEST(SpeechdFailureTest, TheFirstTextAfterTheAudioServerRestartedIsHeard) {
  test_support::TestApplication();
  // The daemon dies on that text; on the user's socket libspeechd starts
  // another, as on a desktop.
  SpeechdAddress address;
  address.socket_path =
      qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/speech-dispatcher/speechd.sock");
  SpeechdVoiceConnector connector(OptionsFor(address, /*autospawn=*/true));
  auto server = connector.CreateInstance();
  auto events = std::make_unique<StreamEvents>(*server);
  events->WaitFor(Server::kEndStream, server->Speak(QStringLiteral("Before."), 1), 10s);

  ASSERT_TRUE(Daemons("kill", "pulseaudio"));
  ASSERT_TRUE(Daemons("start", "pulseaudio"));
  {
    AudioMonitor monitor;
    const int stream = server->Speak(QStringLiteral("After the restart."), Server::kFlagsAsync);
    events->WaitFor(Server::kEndStream, stream, 10s);
    EXPECT_FALSE(monitor.SoundSegments(100ms).empty()) << "the text was lost with the daemon";
  }
  events.reset();
  server.reset();
  // Neither daemon may take a broken sound output into the next test.
  EXPECT_TRUE(Daemons("kill", "spawned-speechd"));
  EXPECT_TRUE(Daemons("kill", "speechd") && Daemons("start", "speechd"));
}

TEST(SpeechdFailureTest, NoDaemonIsStartedWhileNoAudioServerAnswers) {
  test_support::TestApplication();
  // One started then would never play, and would hang instead of quitting.
  SpeechdAddress address;
  const QString run = qEnvironmentVariable("XDG_RUNTIME_DIR");
  address.socket_path = run + QStringLiteral("/speech-dispatcher/speechd.sock");
  SpeechdVoiceConnector connector(OptionsFor(address, /*autospawn=*/true));
  ASSERT_TRUE(Daemons("kill", "pulseaudio"));
  QString message;
  EXPECT_LT(ThrowingMs([&] { connector.CreateInstance(); }, &message), 1000);
  EXPECT_TRUE(message.contains(QStringLiteral("audio server"))) << message.toStdString();
  EXPECT_FALSE(
      QFileInfo::exists(run + QStringLiteral("/speech-dispatcher/pid/speech-dispatcher.pid")))
      << "a daemon was started without sound";
  EXPECT_TRUE(Daemons("kill", "spawned-speechd"));
  EXPECT_TRUE(Daemons("start", "pulseaudio"));
  // The harness's daemon would die on its first sound after the restart.
  EXPECT_TRUE(Daemons("kill", "speechd") && Daemons("start", "speechd"));
}

}  // namespace
}  // namespace voxmere
