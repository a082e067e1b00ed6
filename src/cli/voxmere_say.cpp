// voxmere-say: the command-line companion. Prepares a text the way the tray
// program does before speaking it, using the same settings files.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "cli/say_options.h"
#include "platform/exception.h"
#include "pronunciation/words_file.h"
#include "reading/text_preparation.h"
#include "settings/cfg_keys.h"
#include "settings/settings_folder.h"

namespace voxmere {
namespace {

constexpr int kExitUsage = 2;

int Fail(const QString& message) {
  std::fprintf(stderr, "voxmere-say: %s\n", message.toLocal8Bit().constData());
  return kExitUsage;
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
    const QString text = options.text ? *options.text : ReadStandardInput();
    Print(Prepare(folder, text));
    if (options.text) Print(QStringLiteral("\n"));
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
