// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_library.h"

#include <espeak-ng/speak_lib.h>

#include <QFileInfo>
#include <QStandardPaths>
#include <cstring>
#include <utility>

#include "platform/espeak/espeak_log.h"
#include "platform/espeak/synthesis_pieces.h"
#include "platform/exception.h"

namespace voxmere {
namespace {

// Short buffers so that the first samples of a text come out early.
constexpr int kBufferMilliseconds = 20;

// espeak-ng is global: one text at a time in the whole process, even while
// an old library instance's thread is still finishing.
std::mutex& CallMutex() {
  static std::mutex mutex;
  return mutex;
}

// The voice espeak-ng has loaded; guarded by CallMutex.
QByteArray& VoiceInUse() {
  static QByteArray identifier;
  return identifier;
}

struct Started {
  int sample_rate = 0;
  QString version;
  QList<EspeakVoice> voices;
};

// The synthesis the callback works for; set on the synthesis thread only.
struct Current {
  const EspeakLibrary::Job* job = nullptr;
  bool stopped = false;
};
thread_local Current current;

int SynthCallback(short* wav, int count, espeak_EVENT*) {
  if (current.job == nullptr) return 0;
  const EspeakLibrary::Job& job = *current.job;
  // Never wait here and never cancel from here: returning 1 is how a
  // retrieval-mode synthesis stops.
  if (!job.target->Wanted(job.text_id)) {
    current.stopped = true;
    return 1;
  }
  if (wav != nullptr && count > 0 &&
      !job.target->Samples(job.text_id, reinterpret_cast<const std::int16_t*>(wav),
                           static_cast<std::size_t>(count))) {
    current.stopped = true;
    return 1;
  }
  return 0;
}

QList<EspeakVoice::Language> LanguagesOf(const espeak_VOICE& voice) {
  QList<EspeakVoice::Language> languages;
  // Pairs of a priority byte and a zero-terminated tag, ended by a zero byte.
  for (const char* at = voice.languages; at != nullptr && *at != 0;) {
    const int priority = static_cast<unsigned char>(*at++);
    const QString tag = QString::fromUtf8(at);
    at += std::strlen(at) + 1;
    languages.append({priority, tag});
  }
  return languages;
}

EspeakVoice VoiceOf(const espeak_VOICE& voice) {
  EspeakVoice result;
  result.name = QString::fromUtf8(voice.name);
  result.identifier = QString::fromUtf8(voice.identifier);
  result.languages = LanguagesOf(voice);
  result.gender = voice.gender;
  result.age = voice.age;
  return result;
}

// An MBROLA voice speaks only when its database is installed ("mb/mb-en1"
// needs the database "en1").
bool MbrolaDatabaseInstalled(const QString& identifier) {
  const QString database = identifier.section(QLatin1Char('/'), -1).section(QLatin1Char('-'), -1);
  if (database.isEmpty()) return false;
  const QString root = QStringLiteral("/usr/share/mbrola/");
  for (const QString& path : {root + database, root + database + QLatin1Char('/') + database,
                              root + QStringLiteral("voices/") + database}) {
    if (QFileInfo(path).isFile()) return true;
  }
  return false;
}

QList<EspeakVoice> ListVoices() {
  QList<EspeakVoice> voices;
  // Asked for no voice in particular, espeak-ng lists the language voices, but
  // neither the variants nor the MBROLA voices.
  for (const espeak_VOICE** at = espeak_ListVoices(nullptr); at && *at; ++at) {
    voices.append(VoiceOf(**at));
  }
  if (!QStandardPaths::findExecutable(QStringLiteral("mbrola")).isEmpty()) {
    espeak_VOICE mbrola;
    std::memset(&mbrola, 0, sizeof mbrola);
    mbrola.languages = "mb";
    for (const espeak_VOICE** at = espeak_ListVoices(&mbrola); at && *at; ++at) {
      const EspeakVoice voice = VoiceOf(**at);
      if (voice.identifier.startsWith(QLatin1String("mb/")) &&
          MbrolaDatabaseInstalled(voice.identifier)) {
        voices.append(voice);
      }
    }
  }
  MakeVoiceNamesUnique(&voices);
  return voices;
}

// Starts espeak-ng once per process, handing back samples (its own playback
// fails silently without an audio server) synchronously: espeak_Synth calls
// the callback on our synthesis thread and returns when the text is done, so
// espeak-ng runs no thread of its own. It is never stopped: starting it again
// after espeak_Terminate is not something to rely on.
const Started& StartOnce() {
  static const Started started = [] {
    std::lock_guard lock(CallMutex());
    Started result;
    result.sample_rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kBufferMilliseconds, nullptr,
                                           espeakINITIALIZE_DONT_EXIT);
    if (result.sample_rate <= 0) return result;
    espeak_SetSynthCallback(&SynthCallback);
    const char* path = nullptr;
    result.version = QString::fromUtf8(espeak_Info(&path));
    result.voices = ListVoices();
    return result;
  }();
  return started;
}

}  // namespace

std::shared_ptr<EspeakLibrary> EspeakLibrary::Instance() {
  static std::mutex mutex;
  static std::weak_ptr<EspeakLibrary> instance;
  std::lock_guard lock(mutex);
  if (std::shared_ptr<EspeakLibrary> running = instance.lock()) return running;
  const Started& started = StartOnce();
  if (started.sample_rate <= 0) {
    throw Exception(QStringLiteral("eSpeak NG cannot start: its voice data is missing or damaged"));
  }
  std::shared_ptr<EspeakLibrary> library(
      new EspeakLibrary(started.sample_rate, started.version, started.voices));
  instance = library;
  return library;
}

EspeakLibrary::EspeakLibrary(int sample_rate, QString version, QList<EspeakVoice> voices)
    : sample_rate_(sample_rate), version_(std::move(version)), voices_(std::move(voices)) {
  thread_ = std::thread([this] { Run(); });
}

EspeakLibrary::~EspeakLibrary() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
  thread_.join();
}

void EspeakLibrary::Submit(Job job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  queued_.notify_one();
}

void EspeakLibrary::Run() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      queued_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    Synthesise(job);
    job.target->Finished(job.text_id, !current.stopped);
  }
}

void EspeakLibrary::Synthesise(const Job& job) {
  current = Current{};
  const qsizetype zero = job.text.indexOf('\0');
  const QByteArrayView text = QByteArrayView(job.text).first(zero < 0 ? job.text.size() : zero);
  // Cut one piece at a time: a long text is never held a second time in
  // pieces.
  SynthesisPieceCursor pieces(text);
  while (const std::optional<SynthesisPiece> piece = pieces.Next()) {
    if (!job.target->WaitForRoom(job.text_id) ||
        !SynthesisePiece(job, piece->text, piece->ends_sentence)) {
      current.stopped = true;
      return;
    }
  }
}

bool EspeakLibrary::SynthesisePiece(const Job& job, QByteArrayView text, bool ends_sentence) {
  if (!job.target->Wanted(job.text_id)) return false;
  std::lock_guard lock(CallMutex());
  if (job.voice_identifier != VoiceInUse()) {
    VoiceInUse().clear();
    if (const espeak_ERROR error = espeak_SetVoiceByName(job.voice_identifier.constData());
        error != EE_OK) {
      qCWarning(EspeakLog, "A text was not spoken: espeak-ng cannot load the voice %s (error %d)",
                job.voice_identifier.constData(), static_cast<int>(error));
      return false;
    }
    VoiceInUse() = job.voice_identifier;
  }
  // Set for every piece: another library instance may have synthesised
  // meanwhile.
  espeak_SetParameter(espeakRATE, static_cast<int>(job.parameters.speed), 0);
  espeak_SetParameter(espeakPITCH, job.parameters.pitch, 0);
  espeak_SetParameter(espeakVOLUME, job.parameters.EspeakVolume(), 0);
  current.job = &job;
  const QByteArray terminated = text.toByteArray() + '\0';
  const unsigned flags = espeakCHARS_UTF8 | (ends_sentence ? espeakENDPAUSE : 0u);
  const espeak_ERROR result =
      espeak_Synth(terminated.constData(), static_cast<size_t>(terminated.size()), 0, POS_CHARACTER,
                   0, flags, nullptr, nullptr);
  current.job = nullptr;
  if (result != EE_OK) {
    qCWarning(EspeakLog, "A text was cut short: espeak-ng failed to synthesise it (error %d)",
              static_cast<int>(result));
  }
  return result == EE_OK && !current.stopped;
}

}  // namespace voxmere
