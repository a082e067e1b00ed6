// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_tts_engine.h"

#include <QRegularExpression>
#include <algorithm>

namespace voxmere {
namespace {

TtsResult Checked(FakeCallLog& log, const QString& call) {
  if (const std::optional<QString> error = log.Record(call)) return TtsResult::Failed(*error);
  return TtsResult::Ok();
}

QString Escaped(const QByteArray& data) {
  QString text = QString::fromUtf8(data.constData(), data.size());
  text.replace(u'\r', QStringLiteral("\\r"));
  text.replace(u'\n', QStringLiteral("\\n"));
  text.replace(QChar(0), QStringLiteral("\\0"));
  return text;
}

template <typename T>
T Clamped(std::uint64_t value, T low, T high) {
  return static_cast<T>(std::clamp<std::uint64_t>(value, low, high));
}

}  // namespace

TtsResult FakeTtsAudioDestination::SetFile(const QString& file_name, std::uint32_t flags) {
  const TtsResult result =
      Checked(*log_, QStringLiteral("SetFile(%1,%2)").arg(file_name).arg(flags));
  if (!result.Succeeded()) return result;
  if (kind_ != TtsObjectFactory::Destination::kFile) {
    return TtsResult::Failed(QStringLiteral("No such interface supported"));
  }
  file_name_ = file_name;
  return result;
}

TtsResult FakeTtsAudioDestination::Flush() { return Checked(*log_, QStringLiteral("Flush")); }

TtsResult FakeTtsEngine::Check(const std::string& call) {
  return Checked(*log_, QString::fromStdString(call));
}

TtsResult FakeTtsEngine::Register(std::shared_ptr<TtsNotifySink> sink, std::uint32_t* key) {
  const TtsResult result = Check("Register");
  if (!result.Succeeded()) return result;
  *key = (*next_key_)++;
  last_sink_ = sink;
  sinks_[*key] = std::move(sink);
  return result;
}

TtsResult FakeTtsEngine::UnRegister(std::uint32_t key) {
  const TtsResult result = Check("UnRegister(" + std::to_string(key) + ")");
  if (!result.Succeeded()) return result;
  if (sinks_.erase(key) == 0)
    return TtsResult::Failed(QStringLiteral("The parameter is incorrect."));
  return result;
}

TtsResult FakeTtsEngine::Inject(const QByteArray& tag) {
  const TtsResult result = Check("Inject(" + tag.toStdString() + ")");
  if (!result.Succeeded()) return result;
  static const QRegularExpression kTag(QStringLiteral("^\\\\(Spd|Pit|Vol)=(\\d+)\\\\$"));
  const QRegularExpressionMatch match = kTag.match(QString::fromLatin1(tag));
  if (!match.hasMatch()) return result;  // an engine ignores tags it does not know
  bool ok = false;
  const std::uint64_t value = match.captured(2).toULongLong(&ok);
  if (!ok) return result;
  const QString name = match.captured(1);
  if (name == QStringLiteral("Spd")) {
    mode_.speed = Clamped(value, mode_.min_speed, mode_.max_speed);
  } else if (name == QStringLiteral("Pit")) {
    mode_.pitch = Clamped(value, mode_.min_pitch, mode_.max_pitch);
  } else {
    mode_.volume = static_cast<std::uint32_t>(value);
  }
  return result;
}

TtsResult FakeTtsEngine::TextData(int character_set, std::uint32_t options, const QByteArray& data,
                                  std::uint32_t size, std::shared_ptr<TtsBufNotifySink> buf_sink) {
  const TtsResult result = Check(QStringLiteral("TextData(%1,%2,%3,%4)")
                                     .arg(character_set)
                                     .arg(options)
                                     .arg(Escaped(data))
                                     .arg(size)
                                     .toStdString());
  if (!result.Succeeded()) return result;
  text_data_.push_back({character_set, options, data, size, std::move(buf_sink)});
  return result;
}

TtsResult FakeTtsEngine::PitchGet(std::uint16_t* pitch) {
  const TtsResult result = Check("PitchGet");
  if (result.Succeeded()) *pitch = mode_.pitch;
  return result;
}

TtsResult FakeTtsEngine::PitchSet(std::uint16_t pitch) {
  const TtsResult result = Check("PitchSet(" + std::to_string(pitch) + ")");
  if (result.Succeeded()) mode_.pitch = Clamped(pitch, mode_.min_pitch, mode_.max_pitch);
  return result;
}

TtsResult FakeTtsEngine::RealTimeGet(std::uint32_t* real_time) {
  const TtsResult result = Check("RealTimeGet");
  if (result.Succeeded()) *real_time = mode_.real_time;
  return result;
}

TtsResult FakeTtsEngine::RealTimeSet(std::uint32_t real_time) {
  const TtsResult result = Check("RealTimeSet(" + std::to_string(real_time) + ")");
  if (result.Succeeded()) {
    mode_.real_time = Clamped(real_time, mode_.min_real_time, mode_.max_real_time);
  }
  return result;
}

TtsResult FakeTtsEngine::SpeedGet(std::uint32_t* speed) {
  const TtsResult result = Check("SpeedGet");
  if (result.Succeeded()) *speed = mode_.speed;
  return result;
}

TtsResult FakeTtsEngine::SpeedSet(std::uint32_t speed) {
  const TtsResult result = Check("SpeedSet(" + std::to_string(speed) + ")");
  if (result.Succeeded()) mode_.speed = Clamped(speed, mode_.min_speed, mode_.max_speed);
  return result;
}

TtsResult FakeTtsEngine::VolumeGet(std::uint32_t* volume) {
  const TtsResult result = Check("VolumeGet");
  if (result.Succeeded()) *volume = mode_.volume;
  return result;
}

TtsResult FakeTtsEngine::VolumeSet(std::uint32_t volume) {
  const TtsResult result = Check("VolumeSet(" + std::to_string(volume) + ")");
  if (result.Succeeded()) mode_.volume = volume;
  return result;
}

template <typename Call>
int FakeTtsEngine::NotifyAll(Call call) {
  // A copy: a handler may register or unregister while it runs.
  const auto sinks = sinks_;
  for (const auto& [key, sink] : sinks) call(*sink);
  return static_cast<int>(sinks.size());
}

int FakeTtsEngine::FireAudioStart(std::uint64_t time_stamp) {
  return NotifyAll([&](TtsNotifySink& sink) { sink.AudioStart(time_stamp); });
}

int FakeTtsEngine::FireAudioStop(std::uint64_t time_stamp) {
  return NotifyAll([&](TtsNotifySink& sink) { sink.AudioStop(time_stamp); });
}

int FakeTtsEngine::FireVisual(std::uint32_t hints, const TtsMouth& mouth) {
  return NotifyAll([&](TtsNotifySink& sink) { sink.Visual(0, 'a', 'a', hints, mouth); });
}

int FakeTtsEngine::FireAttribChanged(std::uint32_t attribute) {
  return NotifyAll([&](TtsNotifySink& sink) { sink.AttribChanged(attribute); });
}

TtsResult FakeTtsEnum::Reset() {
  const TtsResult result = Checked(*world_->log, QStringLiteral("Reset"));
  if (result.Succeeded()) cursor_ = 0;
  return result;
}

TtsResult FakeTtsEnum::Next(TtsModeInfo* mode) {
  const TtsResult result = Checked(*world_->log, QStringLiteral("Next"));
  if (!result.Succeeded()) return result;
  if (cursor_ >= world_->modes.size()) return TtsResult::False();
  *mode = world_->modes[cursor_++].info;
  return result;
}

TtsResult FakeTtsEnum::Skip(std::uint32_t count) {
  const TtsResult result = Checked(*world_->log, QStringLiteral("Skip(%1)").arg(count));
  if (!result.Succeeded()) return result;
  cursor_ += count;
  return cursor_ <= world_->modes.size() ? result : TtsResult::False();
}

TtsResult FakeTtsEnum::Select(const QString& mode_id,
                              std::shared_ptr<TtsAudioDestination> destination,
                              std::shared_ptr<TtsEngine>* engine) {
  const TtsResult result = Checked(*world_->log, QStringLiteral("Select(%1)").arg(mode_id));
  if (!result.Succeeded()) return result;
  const auto mode = std::find_if(world_->modes.begin(), world_->modes.end(),
                                 [&](const FakeTtsMode& m) { return m.info.mode_id == mode_id; });
  if (mode == world_->modes.end()) return TtsResult::Failed(QStringLiteral("Engine not found"));
  auto made =
      std::make_shared<FakeTtsEngine>(world_->log, world_->next_key, *mode, std::move(destination));
  world_->engines.push_back(made);
  *engine = std::move(made);
  return result;
}

FakeTtsObjectFactory::FakeTtsObjectFactory(std::shared_ptr<FakeCallLog> log)
    : world_(std::make_shared<FakeTtsWorld>()) {
  world_->log = std::move(log);
}

FakeTtsMode& FakeTtsObjectFactory::AddMode(const QString& mode_name, const QString& speaker,
                                           int gender) {
  FakeTtsMode mode;
  const QString number = QString::number(world_->modes.size() + 1);
  mode.info.mode_name = mode_name;
  mode.info.speaker = speaker;
  mode.info.gender = gender;
  mode.info.mode_id = QStringLiteral("{mode-%1}").arg(number);
  mode.info.engine_id = QStringLiteral("{engine-%1}").arg(number);
  mode.info.manufacturer_name = QStringLiteral("Maker");
  mode.info.product_name = QStringLiteral("Product");
  mode.info.language_dialect = QStringLiteral("Standard");
  mode.info.style = QStringLiteral("Business");
  world_->modes.push_back(mode);
  return world_->modes.back();
}

std::shared_ptr<FakeTtsEngine> FakeTtsObjectFactory::LastEngine() const {
  return world_->engines.empty() ? nullptr : world_->engines.back();
}

TtsResult FakeTtsObjectFactory::CreateEnumerator(std::shared_ptr<TtsEnum>* enumerator) {
  const TtsResult result = Checked(*world_->log, QStringLiteral("CreateEnumerator"));
  if (result.Succeeded()) *enumerator = std::make_shared<FakeTtsEnum>(world_);
  return result;
}

TtsResult FakeTtsObjectFactory::CreateAudioDestination(
    Destination kind, std::shared_ptr<TtsAudioDestination>* destination) {
  const bool file = kind == Destination::kFile;
  const TtsResult result = Checked(
      *world_->log, QStringLiteral("CreateAudioDestination(%1)").arg(file ? "file" : "sound"));
  if (!result.Succeeded()) return result;
  auto made = std::make_shared<FakeTtsAudioDestination>(world_->log, kind);
  world_->destinations.push_back(made);
  *destination = std::move(made);
  return result;
}

}  // namespace voxmere
