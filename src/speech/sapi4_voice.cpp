// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi4_voice.h"

#include <algorithm>

#include "speech/sapi4_event_sinks.h"
#include "speech/speech_log.h"

namespace voxmere {
namespace {

const QString kNotInitialized = QStringLiteral("Speech Engine not initialized");
const QString kNotFound = QStringLiteral("Specified Speech Engine not found");
const QString kNotSelected = QStringLiteral("Speech Engine not selected");
const QString kCannotOpenFile = QStringLiteral("Cannot open file");

// A tested call: a failure result becomes an exception with the system's text.
TtsResult Check(const TtsResult& result) {
  if (result.Succeeded()) return result;
  throw Exception(result.error_text.isEmpty()
                      ? QStringLiteral("The speech engine reported a failure.")
                      : result.error_text);
}

// The Windows records hold names as zero-terminated text.
QString UpToZero(const QString& name) {
  const qsizetype zero = name.indexOf(QChar(0));
  return zero < 0 ? name : name.left(zero);
}

}  // namespace

Sapi4Voice::Sapi4Voice(TtsObjectFactory& factory)
    : factory_(factory), self_(std::make_shared<Sapi4Voice*>(this)) {
  EnumerateModes();
}

Sapi4Voice::~Sapi4Voice() {
  *self_ = nullptr;
  initialized_ = false;
  // Lets the engine drop its reference to our sink; the result does not matter.
  if (sink_key_ != 0 && engine_) engine_->UnRegister(sink_key_);
}

void Sapi4Voice::EnumerateModes() {
  initialized_ = true;
  engine_selected_ = false;
  try {
    Check(factory_.CreateEnumerator(&enumerator_));
    if (!enumerator_) throw Exception(QStringLiteral("No mode enumerator."));
    Check(enumerator_->Reset());
    for (;;) {
      TtsModeInfo mode;
      if (Check(enumerator_->Next(&mode)).code == TtsResult::Code::kFalse) break;
      engine_names_.append(UpToZero(mode.mode_name));
    }
  } catch (...) {
    // No message: the program learns of it from the empty or short list and
    // from the adapter refusing to select.
    qCWarning(SpeechLog, "SAPI 4: listing the modes failed after %lld of them: %s",
              static_cast<long long>(engine_names_.size()),
              qUtf8Printable(CurrentExceptionMessage()));
    initialized_ = false;
  }
}

namespace {

// Calls `take` with each line of the text (CR LF, LF and CR each end one)
// in slices of at most `slice` characters (a surrogate pair kept whole), and
// with an empty view after each line.
template <typename Take>
void ForEachLineSlice(const QString& text, qsizetype slice, Take take) {
  const qsizetype size = text.size();
  qsizetype i = 0;
  while (i < size) {
    const qsizetype start = i;
    while (i < size && text[i] != u'\r' && text[i] != u'\n') ++i;
    for (qsizetype from = start; from < i;) {
      qsizetype to = std::min(i, from + slice);
      if (to < i && text[to - 1].isHighSurrogate()) ++to;
      take(QStringView(text).sliced(from, to - from));
      from = to;
    }
    take(QStringView());
    if (i < size && text[i] == u'\r') ++i;
    if (i < size && text[i] == u'\n') ++i;
  }
}

}  // namespace

void Sapi4Voice::SetText(const QString& text) {
  // As a Delphi string list takes a text: CR LF, LF and CR each end a line.
  // Converted a slice at a time into a buffer of the exact size, measured
  // first: a long text is never held twice in full, nor grown by copies.
  constexpr qsizetype kSlice = 1 << 16;
  qsizetype bytes = 1;  // the zero
  ForEachLineSlice(text, kSlice, [&bytes](QStringView slice) {
    bytes += slice.isNull() ? 2 : slice.toUtf8().size();
  });
  text_.clear();
  text_.squeeze();
  text_.reserve(bytes);
  ForEachLineSlice(text, kSlice, [this](QStringView slice) {
    if (slice.isNull()) {
      text_.append("\r\n");
    } else {
      text_.append(slice.toUtf8());
    }
  });
  text_.append('\0');
}

QStringList Sapi4Voice::Text() const {
  QStringList lines = QString::fromUtf8(text_.constData()).split(QStringLiteral("\r\n"));
  lines.removeLast();  // after the last line end, or the empty text
  return lines;
}

void Sapi4Voice::SelectEngine(const QString& name) {
  if (!initialized_) throw Sapi4Error(kNotInitialized);
  int position = -1;
  for (int i = 0; i < engine_names_.size(); ++i) {
    if (engine_names_[i].compare(name, Qt::CaseInsensitive) == 0) {
      position = i;
      break;
    }
  }
  if (position < 0) throw Sapi4Error(kNotFound);
  engine_selected_ = true;
  try {
    SelectFound(position);
  } catch (...) {
    // Silent: the next Speak reports "Speech Engine not selected".
    qCWarning(SpeechLog, "SAPI 4: selecting the mode \"%s\" failed: %s", qUtf8Printable(name),
              qUtf8Printable(CurrentExceptionMessage()));
    engine_selected_ = false;
  }
}

void Sapi4Voice::SelectFound(int position) {
  const auto kind = output_ == Sapi4Output::kFile ? TtsObjectFactory::Destination::kFile
                                                  : TtsObjectFactory::Destination::kSoundDevice;
  std::shared_ptr<TtsAudioDestination> destination;
  Check(factory_.CreateAudioDestination(kind, &destination));
  if (!destination) throw Exception(QStringLiteral("No audio destination."));
  destination_ = std::move(destination);
  destination_kind_ = kind;

  if (sink_key_ != 0) {
    // Not tested: a stale registration must not keep every later selection
    // from succeeding.
    if (engine_) engine_->UnRegister(sink_key_);
    sink_key_ = 0;
  }
  if (audio_running_ && notify_sink_) {
    // The engine going now was speaking: it ends here, unheard from.
    audio_running_ = false;
    const std::shared_ptr<TtsNotifySink> sender = notify_sink_;
    const NotifyEvent handler = on_stop_;
    if (handler) handler(*sender);
  }
  buf_notify_sink_ = std::make_shared<Sapi4TextEvents>();
  notify_sink_ = std::make_shared<Sapi4EngineEvents>(self_);

  // The mode is found again by its position in the enumeration.
  Check(enumerator_->Reset());
  Check(enumerator_->Skip(static_cast<std::uint32_t>(position)));
  TtsModeInfo mode;
  if (Check(enumerator_->Next(&mode)).code == TtsResult::Code::kFalse) {
    throw Exception(QStringLiteral("The speech mode is no longer installed."));
  }
  mode_info_ = mode;

  std::shared_ptr<TtsEngine> engine;
  Check(enumerator_->Select(mode.mode_id, destination_, &engine));
  if (!engine) throw Exception(QStringLiteral("No engine object."));
  engine_ = std::move(engine);
  engine_has_attributes_ = false;
  Check(engine_->QueryAttributes());
  engine_has_attributes_ = true;
  Check(engine_->QueryDialogs());

  std::uint32_t key = 0;
  Check(engine_->Register(notify_sink_, &key));
  sink_key_ = key;

  engine_info_.mode_name = UpToZero(mode.mode_name);
  engine_info_.dialect = UpToZero(mode.language_dialect);
  engine_info_.manufacturer_name = UpToZero(mode.manufacturer_name);
  engine_info_.product_name = UpToZero(mode.product_name);
  engine_info_.mode_id = mode.mode_id;
  engine_info_.engine_id = mode.engine_id;
  engine_info_.speaker = UpToZero(mode.speaker);
  engine_info_.style = UpToZero(mode.style);
  switch (mode.gender) {
    case 0:
      engine_info_.gender = QStringLiteral("NEUTRAL");
      break;
    case 1:
      engine_info_.gender = QStringLiteral("FEMALE");
      break;
    case 2:
      engine_info_.gender = QStringLiteral("MALE");
      break;
    default:
      break;  // keeps the text of the previous mode
  }
  engine_info_.age = static_cast<std::uint32_t>(mode.age);
  engine_info_.features = mode.features;
  engine_info_.interfaces = mode.interfaces;
  ProbeRanges();
}

void Sapi4Voice::ProbeRanges() {
  // The engine answers an out-of-range request with its own limit. Results
  // are not tested: an engine without one of these attributes leaves zeros.
  TtsEngine& engine = *engine_;
  std::uint16_t saved_pitch = 0, pitch = 0;
  engine.PitchGet(&saved_pitch);
  engine.PitchSet(65535);
  engine.PitchGet(&pitch);
  engine_info_.max_pitch = pitch;
  engine.PitchSet(0);
  pitch = 0;
  engine.PitchGet(&pitch);
  engine_info_.min_pitch = pitch;
  engine.PitchSet(saved_pitch);

  std::uint32_t saved = 0, value = 0;
  engine.RealTimeGet(&saved);
  engine.RealTimeSet(4294967295u);
  engine.RealTimeGet(&value);
  engine_info_.max_real_time = value;
  engine.RealTimeSet(0);
  value = 0;
  engine.RealTimeGet(&value);
  engine_info_.min_real_time = value;
  engine.RealTimeSet(saved);

  saved = 0;
  value = 0;
  engine.SpeedGet(&saved);
  engine.SpeedSet(4294967295u);
  engine.SpeedGet(&value);
  engine_info_.max_speed = value;
  engine.SpeedSet(0);
  value = 0;
  engine.SpeedGet(&value);
  engine_info_.min_speed = value;
  engine.SpeedSet(saved);

  engine_info_.max_volume = 100;
  engine_info_.min_volume = 0;
}

TtsEngine& Sapi4Voice::EngineForTags() const {
  if (!engine_) throw Sapi4Error(kNotSelected);
  return *engine_;
}

TtsEngine& Sapi4Voice::EngineForAttributes() const {
  if (!engine_ || !engine_has_attributes_) throw Sapi4Error(kNotSelected);
  return *engine_;
}

std::uint32_t Sapi4Voice::Speed() const {
  std::uint32_t speed = 0;
  EngineForAttributes().SpeedGet(&speed);
  return speed;
}

void Sapi4Voice::SetSpeed(std::uint32_t speed) {
  EngineForTags().Inject("\\Spd=" + QByteArray::number(speed) + "\\");
}

std::uint16_t Sapi4Voice::Pitch() const {
  std::uint16_t pitch = 0;
  EngineForAttributes().PitchGet(&pitch);
  return pitch;
}

void Sapi4Voice::SetPitch(std::uint16_t pitch) {
  EngineForTags().Inject("\\Pit=" + QByteArray::number(pitch) + "\\");
}

std::uint32_t Sapi4Voice::Volume() const {
  std::uint32_t volume = 0;
  EngineForAttributes().VolumeGet(&volume);
  // The first channel only.
  return (volume & 0xFFFFu) * 100u / 65535u;
}

void Sapi4Voice::SetVolume(std::uint32_t percent) {
  // The Windows component computes in unsigned 32 bits and sets both
  // channels to the same level.
  const std::uint32_t level = percent * 65535u / 100u;
  const std::uint32_t both = level + 65536u * level;
  EngineForTags().Inject("\\Vol=" + QByteArray::number(both) + "\\");
}

void Sapi4Voice::Speak() {
  if (!initialized_) throw Sapi4Error(kNotInitialized);
  if (!engine_selected_) throw Sapi4Error(kNotSelected);
  try {
    SpeakText();
  } catch (...) {
    // Nothing is spoken and nothing is said: no OnStart will come.
    qCWarning(SpeechLog, "SAPI 4: the text was not spoken: %s",
              qUtf8Printable(CurrentExceptionMessage()));
  }
}

void Sapi4Voice::SpeakText() {
  if (output_ == Sapi4Output::kFile && !destination_->SetFile(filename_, 1).Succeeded()) {
    throw Sapi4Error(kCannotOpenFile);
  }
  Check(engine_->TextData(0, 0, text_, static_cast<std::uint32_t>(text_.size()), buf_notify_sink_));
}

void Sapi4Voice::Stop() {
  if (!engine_) return;
  Check(engine_->AudioReset());
}

void Sapi4Voice::HandleAudioStart(TtsNotifySink& sender) {
  audio_running_ = true;
  const NotifyEvent handler = on_start_;
  if (handler) handler(sender);
}

void Sapi4Voice::HandleAudioStop(TtsNotifySink& sender) {
  audio_running_ = false;
  if (output_ == Sapi4Output::kFile && destination_ &&
      destination_kind_ == TtsObjectFactory::Destination::kFile) {
    destination_->Flush();
  }
  const NotifyEvent handler = on_stop_;
  if (handler) handler(sender);
}

}  // namespace voxmere
