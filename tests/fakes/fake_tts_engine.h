// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <map>
#include <memory>
#include <vector>

#include "fakes/fake_call_log.h"
#include "platform/tts_engine.h"

namespace voxmere {

// Fakes of the SAPI 4 role. Every call is recorded in one shared FakeCallLog:
//   factory: "CreateEnumerator", "CreateAudioDestination(sound|file)"
//   enumerator: "Reset", "Next", "Skip(<n>)", "Select(<mode id>)"
//   engine: "QueryAttributes", "QueryDialogs", "Register", "UnRegister(<key>)",
//     "Inject(<tag>)", "TextData(<charset>,<options>,<text>,<size>)" (CR, LF
//     and zero written \r \n \0), "AudioReset", "PitchGet", "PitchSet(<v>)",
//     "RealTimeGet", "RealTimeSet(<v>)", "SpeedGet", "SpeedSet(<v>)",
//     "VolumeGet", "VolumeSet(<v>)"
//   audio destination: "SetFile(<name>,<flags>)", "Flush"
// A call made to fail through the log returns a failure result with the
// rule's text.

// A mode as the fake enumerator lists it, with its engine's ranges and
// starting values. Sets outside a range take the nearest limit.
struct FakeTtsMode {
  TtsModeInfo info;
  std::uint16_t min_pitch = 50;
  std::uint16_t max_pitch = 200;
  std::uint32_t min_real_time = 1;
  std::uint32_t max_real_time = 0xFFFF;
  std::uint32_t min_speed = 80;
  std::uint32_t max_speed = 450;
  std::uint16_t pitch = 100;
  std::uint32_t real_time = 0x100;
  std::uint32_t speed = 175;
  std::uint32_t volume = 0xFFFFFFFF;
};

class FakeTtsAudioDestination : public TtsAudioDestination {
 public:
  FakeTtsAudioDestination(std::shared_ptr<FakeCallLog> log, TtsObjectFactory::Destination kind)
      : log_(std::move(log)), kind_(kind) {}

  // The sound device always refuses a file.
  TtsResult SetFile(const QString& file_name, std::uint32_t flags) override;
  TtsResult Flush() override;

  TtsObjectFactory::Destination Kind() const { return kind_; }
  const QString& FileName() const { return file_name_; }

 private:
  std::shared_ptr<FakeCallLog> log_;
  TtsObjectFactory::Destination kind_;
  QString file_name_;
};

class FakeTtsEngine : public TtsEngine {
 public:
  struct TextDataCall {
    int character_set;
    std::uint32_t options;
    QByteArray data;
    std::uint32_t size;
    std::shared_ptr<TtsBufNotifySink> buf_sink;
  };

  FakeTtsEngine(std::shared_ptr<FakeCallLog> log, std::shared_ptr<std::uint32_t> next_key,
                FakeTtsMode mode, std::shared_ptr<TtsAudioDestination> destination)
      : log_(std::move(log)),
        next_key_(std::move(next_key)),
        mode_(std::move(mode)),
        destination_(std::move(destination)) {}

  TtsResult QueryAttributes() override { return Check("QueryAttributes"); }
  TtsResult QueryDialogs() override { return Check("QueryDialogs"); }
  TtsResult Register(std::shared_ptr<TtsNotifySink> sink, std::uint32_t* key) override;
  TtsResult UnRegister(std::uint32_t key) override;
  // Applies \Spd=n\, \Pit=n\ and \Vol=n\ like the matching sets.
  TtsResult Inject(const QByteArray& tag) override;
  TtsResult TextData(int character_set, std::uint32_t options, const QByteArray& data,
                     std::uint32_t size, std::shared_ptr<TtsBufNotifySink> buf_sink) override;
  TtsResult AudioReset() override { return Check("AudioReset"); }
  TtsResult PitchGet(std::uint16_t* pitch) override;
  TtsResult PitchSet(std::uint16_t pitch) override;
  TtsResult RealTimeGet(std::uint32_t* real_time) override;
  TtsResult RealTimeSet(std::uint32_t real_time) override;
  TtsResult SpeedGet(std::uint32_t* speed) override;
  TtsResult SpeedSet(std::uint32_t speed) override;
  TtsResult VolumeGet(std::uint32_t* volume) override;
  TtsResult VolumeSet(std::uint32_t volume) override;

  const FakeTtsMode& Mode() const { return mode_; }
  // Current values; tests may set them as another program would.
  FakeTtsMode& State() { return mode_; }
  const std::shared_ptr<TtsAudioDestination>& Destination() const { return destination_; }
  const std::vector<TextDataCall>& TextDataCalls() const { return text_data_; }
  const std::map<std::uint32_t, std::shared_ptr<TtsNotifySink>>& RegisteredSinks() const {
    return sinks_;
  }
  // The last sink ever registered, kept after UnRegister (late notifications).
  const std::shared_ptr<TtsNotifySink>& LastRegisteredSink() const { return last_sink_; }

  // Notifications to every registered sink; return how many were called.
  int FireAudioStart(std::uint64_t time_stamp = 0);
  int FireAudioStop(std::uint64_t time_stamp = 0);
  int FireVisual(std::uint32_t hints, const TtsMouth& mouth);
  int FireAttribChanged(std::uint32_t attribute);

 private:
  TtsResult Check(const std::string& call);
  template <typename Call>
  int NotifyAll(Call call);

  std::shared_ptr<FakeCallLog> log_;
  std::shared_ptr<std::uint32_t> next_key_;
  FakeTtsMode mode_;
  std::shared_ptr<TtsAudioDestination> destination_;
  std::map<std::uint32_t, std::shared_ptr<TtsNotifySink>> sinks_;
  std::shared_ptr<TtsNotifySink> last_sink_;
  std::vector<TextDataCall> text_data_;
};

// What the factory, its enumerators and their engines share.
struct FakeTtsWorld {
  std::shared_ptr<FakeCallLog> log;
  std::vector<FakeTtsMode> modes;
  std::vector<std::shared_ptr<FakeTtsEngine>> engines;
  std::vector<std::shared_ptr<FakeTtsAudioDestination>> destinations;
  std::shared_ptr<std::uint32_t> next_key = std::make_shared<std::uint32_t>(1);
};

class FakeTtsEnum : public TtsEnum {
 public:
  explicit FakeTtsEnum(std::shared_ptr<FakeTtsWorld> world) : world_(std::move(world)) {}

  TtsResult Reset() override;
  TtsResult Next(TtsModeInfo* mode) override;
  TtsResult Skip(std::uint32_t count) override;
  // Finds the mode by its identifier and makes a new FakeTtsEngine for it.
  TtsResult Select(const QString& mode_id, std::shared_ptr<TtsAudioDestination> destination,
                   std::shared_ptr<TtsEngine>* engine) override;

 private:
  std::shared_ptr<FakeTtsWorld> world_;
  std::size_t cursor_ = 0;
};

class FakeTtsObjectFactory : public TtsObjectFactory {
 public:
  explicit FakeTtsObjectFactory(std::shared_ptr<FakeCallLog> log = std::make_shared<FakeCallLog>());

  const std::shared_ptr<FakeCallLog>& Log() const { return world_->log; }
  // The installed modes; changes show in later enumerations.
  std::vector<FakeTtsMode>& Modes() { return world_->modes; }
  // A mode with the given name and speaker; other fields are derived from them.
  FakeTtsMode& AddMode(const QString& mode_name, const QString& speaker, int gender = 1);

  // Engine objects made by Select, audio destinations made here, in order.
  const std::vector<std::shared_ptr<FakeTtsEngine>>& Engines() const { return world_->engines; }
  std::shared_ptr<FakeTtsEngine> LastEngine() const;
  const std::vector<std::shared_ptr<FakeTtsAudioDestination>>& Destinations() const {
    return world_->destinations;
  }

  TtsResult CreateEnumerator(std::shared_ptr<TtsEnum>* enumerator) override;
  TtsResult CreateAudioDestination(Destination kind,
                                   std::shared_ptr<TtsAudioDestination>* destination) override;

 private:
  std::shared_ptr<FakeTtsWorld> world_;
};

// A mode with ranges of its own, speed 50..250 (150), pitch 60..240 (120),
// volume half on both channels: the SAPI 4 voice of the page and editor tests.
inline FakeTtsMode& AddMaryInBooth(FakeTtsObjectFactory& factory) {
  FakeTtsMode& mary = factory.AddMode("Mary in Booth", "Mary");
  mary.min_speed = 50;
  mary.max_speed = 250;
  mary.speed = 150;
  mary.min_pitch = 60;
  mary.max_pitch = 240;
  mary.pitch = 120;
  mary.volume = 0x80008000u;
  return mary;
}

}  // namespace voxmere
