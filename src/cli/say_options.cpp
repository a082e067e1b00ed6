#include "cli/say_options.h"

namespace voxmere {

SayOptionsResult ParseSayOptions(const QStringList& arguments) {
  SayOptionsResult result;
  SayOptions& options = result.options;
  QStringList words;
  bool only_words = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (only_words || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
      words << arg;
    } else if (arg == QLatin1String("--")) {
      only_words = true;
    } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      options.help = true;
    } else if (arg == QLatin1String("--prepare")) {
      options.prepare = true;
    } else if (arg == QLatin1String("--config-dir") ||
               arg.startsWith(QLatin1String("--config-dir="))) {
      QString dir;
      if (arg.startsWith(QLatin1String("--config-dir="))) {
        dir = arg.mid(13);
      } else if (i + 1 < arguments.size()) {
        dir = arguments[++i];
      }
      if (dir.isEmpty()) {
        result.error = QStringLiteral("option --config-dir needs a folder");
        return result;
      }
      options.config_dir = dir;
    } else {
      result.error = QStringLiteral("unknown option '%1' (see --help)").arg(arg);
      return result;
    }
  }
  if (!words.isEmpty()) options.text = words.join(QLatin1Char(' '));
  if (!options.help && !options.prepare) {
    result.error = QStringLiteral("nothing to do: give --prepare (see --help)");
  }
  return result;
}

QString SayUsage() {
  return QStringLiteral(
      "Usage: voxmere-say --prepare [--config-dir DIR] [TEXT...]\n"
      "\n"
      "Prints TEXT (or standard input when no TEXT is given) as Voxmere would speak it:\n"
      "with the ignored characters and pronunciation corrections of its settings applied.\n"
      "\n"
      "  --prepare          prepare the text and print it\n"
      "  --config-dir DIR   read cfg.ini and words.ini from DIR instead of the settings\n"
      "                     folder (the program's folder when writable, else\n"
      "                     $XDG_CONFIG_HOME/voxmere)\n"
      "  -h, --help         show this help\n"
      "\n"
      "The settings files are only read, never written.\n"
      "Exit status: 0 done, 2 bad arguments, unreadable settings or unwritable output.\n");
}

}  // namespace voxmere
