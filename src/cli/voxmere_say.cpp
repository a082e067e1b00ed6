// SPDX-License-Identifier: GPL-3.0-or-later
// voxmere-say: the command-line companion. Prepares a text the way the tray
// program does and speaks it with the same engines and settings files.
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <memory>

#include "cli/say_options.h"
#include "cli/say_speech.h"
#include "platform/espeak/espeak_tts_factory.h"
#include "platform/exception.h"
#include "platform/speechd/speechd_voice_connector.h"
#include "pronunciation/words_file.h"
#include "reading/text_preparation.h"
#include "settings/cfg_keys.h"
#include "settings/settings_folder.h"

namespace voxmere {
namespace {

constexpr int kExitUsage = kSayExitUsage;
// How long speech may take to begin before the run counts as failed.
constexpr int kStartTimeoutMs = 15000;

int Fail(const QString& message, int status = kExitUsage) {
  std::fprintf(stderr, "voxmere-say: %s\n", message.toLocal8Bit().constData());
  return status;
}

void Print(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

// Success once everything printed has reached standard output: a full disk or
// a closed pipe must not pass for success.
int Finish() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    return Fail(QStringLiteral("cannot write standard output"));
  }
  return 0;
}

QString ReadStandardInput() {
  QFile in;
  if (!in.open(stdin, QIODevice::ReadOnly)) {
    throw Exception(QStringLiteral("cannot read standard input"));
  }
  return QString::fromUtf8(in.readAll());
}

// The text as the program would speak it, with the pronunciation options of
// cfg.ini and the table of words.ini.
QString Prepare(const QString& folder, const QString& text) {
  const CfgFile cfg(SettingsFilePath(folder, kCfgFileName));
  PronunciationTable corrections;
  RestoreWords(SettingsFilePath(folder, kWordsFileName), corrections);
  PreparationInputs inputs;
  inputs.ignore_characters = cfg.ReadBool(kIgnoreCharacters);
  inputs.ignored_characters = cfg.ReadString(kIgnoredCharacters);
  inputs.words_corrections = cfg.ReadBool(kWordsCorrections);
  inputs.corrections = &corrections;
  return PrepareText(text, inputs);
}

// Ctrl+C or a termination request stops the speech before the program ends:
// speech-dispatcher would otherwise go on reading after we are gone. The
// signal handler only writes to a pipe; the event loop does the rest.
int signal_pipe[2] = {-1, -1};

void OnSignal(int signal_number) {
  const unsigned char byte = static_cast<unsigned char>(signal_number);
  [[maybe_unused]] const ssize_t written = ::write(signal_pipe[1], &byte, 1);
}

std::unique_ptr<QSocketNotifier> StopOnSignals(SayEngines& engines, const SayVoice& voice) {
  if (::pipe(signal_pipe) != 0) return nullptr;
  auto notifier = std::make_unique<QSocketNotifier>(signal_pipe[0], QSocketNotifier::Read);
  QObject::connect(notifier.get(), &QSocketNotifier::activated, [&engines, voice] {
    unsigned char byte = 0;
    const int signal_number = ::read(signal_pipe[0], &byte, 1) == 1 ? byte : SIGINT;
    StopSpeaking(engines, voice);
    std::fflush(stdout);
    ::_exit(128 + signal_number);
  });
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  return notifier;
}

// Lists the voices, or speaks the prepared text and waits for its end.
int Speak(const QString& folder, const SayOptions& options) {
  EspeakTtsFactory::Options espeak_options;
  espeak_options.sound_device = options.wav_file.isEmpty();
  EspeakTtsFactory sapi4(espeak_options);
  SpeechdVoiceConnector sapi5;
  SayEngines engines(sapi4, sapi5, !options.wav_file.isEmpty());
  if (options.action == SayAction::kListVoices) {
    if (!engines.AnyVoice()) return Fail(engines.NoEngineReason(), kSayExitNoEngine);
    Print(VoiceListing(engines));
    return Finish();
  }
  const CfgFile cfg(SettingsFilePath(folder, kCfgFileName));
  const SayVoice voice = ChooseVoice(engines, options, cfg);
  if (!options.wav_file.isEmpty()) {
    // The engine swallows a file it cannot open; tell the user instead.
    QFile wav(options.wav_file);
    if (!wav.open(QIODevice::WriteOnly)) {
      return Fail(QStringLiteral("cannot write %1: %2").arg(options.wav_file, wav.errorString()));
    }
    engines.Sapi4().SetFilename(options.wav_file);
  }
  const QString text = Prepare(folder, options.text ? *options.text : ReadStandardInput());
  // Nothing to say gives no speech to wait for (and an empty WAV file would
  // be no use either).
  if (text.trimmed().isEmpty()) return Finish();
  const std::unique_ptr<QSocketNotifier> stop_on_signals = StopOnSignals(engines, voice);
  SpeakAndWait(engines, voice, text, kStartTimeoutMs);
  return Finish();
}

int Run(const QStringList& arguments) {
  const SayOptionsResult parsed = ParseSayOptions(arguments);
  if (!parsed.error.isEmpty()) return Fail(parsed.error);
  const SayOptions& options = parsed.options;
  if (options.help) {
    Print(SayUsage());
    return Finish();
  }
  QString folder = options.config_dir;
  if (folder.isEmpty()) {
    folder = SettingsFolder(QCoreApplication::applicationDirPath());
  } else if (!QFileInfo(folder).isDir()) {
    return Fail(QStringLiteral("no such folder: %1").arg(QDir::toNativeSeparators(folder)));
  }
  try {
    if (options.action != SayAction::kPrepare) return Speak(folder, options);
    const QString text = options.text ? *options.text : ReadStandardInput();
    Print(Prepare(folder, text));
    if (options.text) Print(QStringLiteral("\n"));
  } catch (const SayFailure& failure) {
    return Fail(failure.message, failure.status);
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
  return Finish();
}

}  // namespace
}  // namespace voxmere

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();
  return voxmere::Run(arguments);
}
