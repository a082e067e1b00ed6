// SPDX-License-Identifier: GPL-3.0-or-later
// espeak-ng without a working audio server, and writing WAV files.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "espeak_test_support.h"

namespace voxmere::espeak_test {
namespace {

using namespace std::chrono_literals;

// Points libpulse at another server for the test's lifetime.
class AudioServerOverride {
 public:
  explicit AudioServerOverride(const QByteArray& server) {
    if (qEnvironmentVariableIsSet("PULSE_SERVER")) saved_ = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", server);
  }
  ~AudioServerOverride() {
    if (saved_) {
      qputenv("PULSE_SERVER", *saved_);
    } else {
      qunsetenv("PULSE_SERVER");
    }
  }

 private:
  std::optional<QByteArray> saved_;
};

// A socket that takes connections and never answers: an audio server that
// hangs.
class SilentServer {
 public:
  explicit SilentServer(const QString& path) {
    fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = path.toLocal8Bit();
    std::strncpy(address.sun_path, native.constData(), sizeof address.sun_path - 1);
    ok_ = fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
          listen(fd_, 8) == 0;
  }
  ~SilentServer() {
    if (fd_ >= 0) close(fd_);
  }
  bool ok() const { return ok_; }

 private:
  int fd_ = -1;
  bool ok_ = false;
};

int CountModes(TtsEnum& modes) {
  int count = 0;
  TtsModeInfo mode;
  modes.Reset();
  while (modes.Next(&mode).code == TtsResult::Code::kOk) ++count;
  return count;
}

// Creating the enumerator must come back with no modes, quickly.
void ExpectUnavailableWithin3s() {
  test_support::TestApplication();
  const Clock::time_point begin = Clock::now();
  EspeakTtsFactory factory;
  std::shared_ptr<TtsEnum> modes;
  ASSERT_TRUE(factory.CreateEnumerator(&modes).Succeeded());
  EXPECT_EQ(CountModes(*modes), 0);
  EXPECT_LT(Clock::now() - begin, 3s);
  // Nothing can be selected for the sound device either.
  std::shared_ptr<TtsAudioDestination> device;
  ASSERT_TRUE(factory.CreateAudioDestination(TtsObjectFactory::Destination::kSoundDevice, &device)
                  .Succeeded());
  std::shared_ptr<TtsEngine> engine;
  EXPECT_FALSE(
      modes->Select(QStringLiteral("{00000000-0000-0000-0000-000000000000}"), device, &engine)
          .Succeeded());
  EXPECT_EQ(engine, nullptr);
}

TEST(EspeakOutputsTest, NoAudioServerMeansNoModesWithinThreeSeconds) {
  {
    AudioServerOverride dead("unix:/nonexistent/voxmere-no-server");
    ExpectUnavailableWithin3s();
  }
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString socket_path = folder.filePath(QStringLiteral("hung"));
  SilentServer hung(socket_path);
  ASSERT_TRUE(hung.ok());
  AudioServerOverride hanging("unix:" + socket_path.toLocal8Bit());
  ExpectUnavailableWithin3s();
}

struct WavFacts {
  QByteArray riff, wave, fmt, data;
  std::uint32_t riff_size = 0, format = 0, channels = 0, rate = 0, byte_rate = 0, bits = 0;
  std::uint32_t data_size = 0;
  qsizetype file_size = 0;
  int peak = 0;
};

WavFacts ReadWav(const QString& path) {
  QFile file(path);
  WavFacts facts;
  if (!file.open(QIODevice::ReadOnly)) return facts;
  const QByteArray bytes = file.readAll();
  facts.file_size = bytes.size();
  if (bytes.size() < 44) return facts;
  const char* b = bytes.constData();
  facts.riff = bytes.mid(0, 4);
  facts.riff_size = qFromLittleEndian<std::uint32_t>(b + 4);
  facts.wave = bytes.mid(8, 4);
  facts.fmt = bytes.mid(12, 4);
  facts.format = qFromLittleEndian<std::uint16_t>(b + 20);
  facts.channels = qFromLittleEndian<std::uint16_t>(b + 22);
  facts.rate = qFromLittleEndian<std::uint32_t>(b + 24);
  facts.byte_rate = qFromLittleEndian<std::uint32_t>(b + 28);
  facts.bits = qFromLittleEndian<std::uint16_t>(b + 34);
  facts.data = bytes.mid(36, 4);
  facts.data_size = qFromLittleEndian<std::uint32_t>(b + 40);
  for (qsizetype at = 44; at + 1 < bytes.size(); at += 2) {
    facts.peak = std::max(facts.peak, std::abs(int(qFromLittleEndian<std::int16_t>(b + at))));
  }
  return facts;
}

TEST(EspeakOutputsTest, WritesWavFilesWithoutAnAudioServer) {
  AudioServerOverride dead("unix:/nonexistent/voxmere-no-server");
  test_support::TestApplication();
  EspeakTtsFactory factory(EspeakTtsFactory::Options{.sound_device = false});
  std::shared_ptr<TtsEnum> modes;
  ASSERT_TRUE(factory.CreateEnumerator(&modes).Succeeded());
  EXPECT_GT(CountModes(*modes), 100) << "writing files needs no audio server";
  TtsModeInfo mode;
  ASSERT_TRUE(FindMode(*modes, QStringLiteral("English (Great Britain)"), &mode));

  std::shared_ptr<TtsAudioDestination> device, file;
  ASSERT_TRUE(factory.CreateAudioDestination(TtsObjectFactory::Destination::kSoundDevice, &device)
                  .Succeeded());
  EXPECT_FALSE(device->SetFile(QStringLiteral("x.wav"), 1).Succeeded());
  std::shared_ptr<TtsEngine> engine;
  EXPECT_FALSE(modes->Select(mode.mode_id, device, &engine).Succeeded())
      << "a file-only factory cannot speak aloud";

  ASSERT_TRUE(
      factory.CreateAudioDestination(TtsObjectFactory::Destination::kFile, &file).Succeeded());
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath(QStringLiteral("speech.wav"));
  ASSERT_TRUE(file->SetFile(path, 1).Succeeded());
  ASSERT_TRUE(modes->Select(mode.mode_id, file, &engine).Succeeded());
  auto sink = std::make_shared<RecordingSink>();
  std::uint32_t key = 0;
  ASSERT_TRUE(engine->Register(sink, &key).Succeeded());

  ASSERT_TRUE(Speak(*engine, QStringLiteral("Written to a file.")).Succeeded());
  ASSERT_TRUE(WaitUntil([&] { return sink->Stops() == 1; }, 10s));
  EXPECT_EQ(sink->Starts(), 1);
  ASSERT_TRUE(file->Flush().Succeeded());
  const WavFacts first = ReadWav(path);
  EXPECT_EQ(first.riff, "RIFF");
  EXPECT_EQ(first.wave, "WAVE");
  EXPECT_EQ(first.fmt, "fmt ");
  EXPECT_EQ(first.format, 1u);
  EXPECT_EQ(first.channels, 1u);
  EXPECT_EQ(first.rate, 22050u);
  EXPECT_EQ(first.byte_rate, 44100u);
  EXPECT_EQ(first.bits, 16u);
  EXPECT_EQ(first.data, "data");
  EXPECT_EQ(first.data_size, first.file_size - 44);
  EXPECT_EQ(first.riff_size, first.file_size - 8);
  EXPECT_GT(first.data_size, 22050u) << "about a second of speech expected";
  EXPECT_GT(first.peak, 3000) << "the samples are silent";

  // A second text goes on in the same file; the header follows it.
  ASSERT_TRUE(Speak(*engine, QStringLiteral("And a second text.")).Succeeded());
  ASSERT_TRUE(WaitUntil([&] { return sink->Stops() == 2; }, 10s));
  ASSERT_TRUE(file->Flush().Succeeded());
  const WavFacts second = ReadWav(path);
  EXPECT_GT(second.data_size, first.data_size);
  EXPECT_EQ(second.data_size, second.file_size - 44);
}

}  // namespace
}  // namespace voxmere::espeak_test
