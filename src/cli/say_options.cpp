// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/say_options.h"

namespace voxmere {
namespace {

// Takes the value of "--name VALUE" or "--name=VALUE"; false when the option
// is not `name`. An absent value leaves `value` empty.
bool TakeValue(const QStringList& arguments, qsizetype& i, const QString& name, QString& value) {
  const QString& arg = arguments[i];
  if (arg == name) {
    value = i + 1 < arguments.size() ? arguments[++i] : QString();
    return true;
  }
  if (arg.startsWith(name + QLatin1Char('='))) {
    value = arg.mid(name.size() + 1);
    return true;
  }
  return false;
}

// Decimal integers only, with an optional sign: "1e3", "0x10" and blanks are
// mistakes a user wants to hear about.
std::optional<int> ParseNumber(const QString& text) {
  static const QString kSigns = QStringLiteral("+-");
  const qsizetype digits_from = !text.isEmpty() && kSigns.contains(text[0]) ? 1 : 0;
  if (text.size() == digits_from) return std::nullopt;
  for (qsizetype i = digits_from; i < text.size(); ++i) {
    if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9')) return std::nullopt;
  }
  bool ok = false;
  const int value = text.toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

SayOptionsResult ParseSayOptions(const QStringList& arguments) {
  SayOptionsResult result;
  SayOptions& options = result.options;
  QStringList words;
  bool only_words = false;
  bool prepare = false;
  bool list_voices = false;
  const auto fail = [&result](const QString& error) {
    result.error = error;
    return result;
  };
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    QString value;
    if (only_words || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
      words << arg;
    } else if (arg == QLatin1String("--")) {
      only_words = true;
    } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      options.help = true;
    } else if (arg == QLatin1String("--prepare")) {
      prepare = true;
    } else if (arg == QLatin1String("--list-voices")) {
      list_voices = true;
    } else if (TakeValue(arguments, i, QStringLiteral("--config-dir"), value)) {
      if (value.isEmpty()) return fail(QStringLiteral("option --config-dir needs a folder"));
      options.config_dir = value;
    } else if (TakeValue(arguments, i, QStringLiteral("--voice"), value)) {
      if (value.isEmpty()) return fail(QStringLiteral("option --voice needs a voice name"));
      options.voice = value;
    } else if (TakeValue(arguments, i, QStringLiteral("--wav"), value)) {
      if (value.isEmpty()) return fail(QStringLiteral("option --wav needs a file name"));
      options.wav_file = value;
    } else if (arg.startsWith(QLatin1String("--speed")) ||
               arg.startsWith(QLatin1String("--pitch")) ||
               arg.startsWith(QLatin1String("--volume"))) {
      const QString name = arg.section(QLatin1Char('='), 0, 0);
      std::optional<int>* target = name == QLatin1String("--speed")    ? &options.speed
                                   : name == QLatin1String("--pitch")  ? &options.pitch
                                   : name == QLatin1String("--volume") ? &options.volume
                                                                       : nullptr;
      if (target == nullptr) {
        return fail(QStringLiteral("unknown option '%1' (see --help)").arg(arg));
      }
      TakeValue(arguments, i, name, value);
      *target = ParseNumber(value);
      if (!target->has_value()) {
        return fail(QStringLiteral("option %1 needs a whole number, not '%2'").arg(name, value));
      }
    } else {
      return fail(QStringLiteral("unknown option '%1' (see --help)").arg(arg));
    }
  }
  if (!words.isEmpty()) options.text = words.join(QLatin1Char(' '));
  if (options.help) return result;
  if (prepare && list_voices) {
    return fail(QStringLiteral("--prepare and --list-voices cannot be combined"));
  }
  const bool speaking_options = options.voice || options.speed || options.pitch || options.volume ||
                                !options.wav_file.isEmpty();
  if (prepare) {
    if (speaking_options) {
      return fail(QStringLiteral("--prepare only prints the text; it takes no voice options"));
    }
    options.action = SayAction::kPrepare;
  } else if (list_voices) {
    if (speaking_options || options.text) {
      return fail(QStringLiteral("--list-voices takes no text and no voice options"));
    }
    options.action = SayAction::kListVoices;
  }
  return result;
}

QString SayUsage() {
  return QStringLiteral(
      "Usage: voxmere-say [--voice NAME] [--speed N] [--pitch N] [--volume N] [--wav FILE]\n"
      "                   [--config-dir DIR] [TEXT...]\n"
      "       voxmere-say --list-voices [--config-dir DIR]\n"
      "       voxmere-say --prepare [--config-dir DIR] [TEXT...]\n"
      "\n"
      "Speaks TEXT (or standard input when no TEXT is given) as Voxmere would: with the\n"
      "ignored characters and pronunciation corrections of its settings applied, in the\n"
      "default voice of its settings unless told otherwise. Ends when the speech has ended.\n"
      "\n"
      "  --list-voices      print every voice: its engine, a tab, and its name\n"
      "  --voice NAME       speak with this voice (a name as --list-voices prints it;\n"
      "                     letter case does not matter)\n"
      "  --speed N          speed, pitch and volume in the numbers Voxmere shows and\n"
      "  --pitch N          stores for the voice: espeak-ng voices in the engine's own\n"
      "  --volume N         units (speed in words per minute), speech-dispatcher voices\n"
      "                     30..330 for speed and pitch (180 is normal), 0..100 for volume\n"
      "  --wav FILE         write the audio of an espeak-ng voice to FILE instead of\n"
      "                     playing it\n"
      "  --prepare          only print the text as it would be spoken\n"
      "  --config-dir DIR   read cfg.ini and words.ini from DIR instead of the settings\n"
      "                     folder ($XDG_CONFIG_HOME/voxmere; for a copy that is\n"
      "                     not installed, its own folder when writable)\n"
      "  -h, --help         show this help\n"
      "\n"
      "The settings files are only read, never written.\n"
      "Exit status: 0 done; 1 no speech engine works (no audio server, no\n"
      "speech-dispatcher); 2 bad arguments, unknown voice, a number out of range,\n"
      "unreadable settings or unwritable output.\n");
}

}  // namespace voxmere
