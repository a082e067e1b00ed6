// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QRegularExpression>
#include <optional>

namespace voxmere {
namespace {

using Request = CommandLine::Request;

CommandLine Bad(const QString& problem) {
  CommandLine line;
  line.action = CommandLine::Action::kBadArguments;
  line.problem = problem;
  return line;
}

std::optional<Request> RequestOfOption(const QString& option) {
  if (option == QLatin1String("--read")) return Request::kReadSelection;
  if (option == QLatin1String("--read-slot")) return Request::kReadSelectionWithSlot;
  if (option == QLatin1String("--stop")) return Request::kStopReading;
  if (option == QLatin1String("--options")) return Request::kShowOptions;
  return std::nullopt;
}

// A slot number as users count: digits only, from 1; 0 when it is none.
int SlotNumber(const QString& text) {
  static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
  if (!digits.match(text).hasMatch()) return 0;
  bool ok = false;
  const int number = text.toInt(&ok);
  return ok ? number : 0;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  std::optional<CommandLine> call;
  QString call_option;
  QString other;  // the first argument that is not an option of ours
  for (int i = 0; i < arguments.size(); ++i) {
    QString argument = arguments[i];
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
      CommandLine usage;
      usage.action = CommandLine::Action::kShowUsage;
      return usage;
    }
    if (!argument.startsWith(QLatin1String("--"))) {
      if (other.isEmpty()) other = argument;
      continue;
    }
    QString value;
    bool has_value = false;
    if (const qsizetype equals = argument.indexOf(QLatin1Char('=')); equals > 0) {
      value = argument.mid(equals + 1);
      argument.truncate(equals);
      has_value = true;
    }
    const std::optional<Request> request = RequestOfOption(argument);
    if (!request) return Bad(QStringLiteral("unknown option %1").arg(argument));
    if (call) {
      return Bad(QStringLiteral("one request at a time: %1 and %2").arg(call_option, argument));
    }
    CommandLine line;
    line.action = CommandLine::Action::kCallProgram;
    line.request = *request;
    if (*request == Request::kReadSelectionWithSlot) {
      if (!has_value) {
        if (i + 1 >= arguments.size())
          return Bad(QStringLiteral("--read-slot needs a slot number"));
        value = arguments[++i];
      }
      line.slot = SlotNumber(value);
      if (line.slot == 0) {
        return Bad(
            QStringLiteral("--read-slot needs a slot number from 1 up, not \"%1\"").arg(value));
      }
    } else if (has_value) {
      return Bad(QStringLiteral("%1 takes no value").arg(argument));
    }
    call = line;
    call_option = argument;
  }
  if (!call) return CommandLine{};
  if (!other.isEmpty()) {
    return Bad(QStringLiteral("%1 takes no further arguments: %2").arg(call_option, other));
  }
  return *call;
}

QString RequestMethodName(CommandLine::Request request) {
  switch (request) {
    case Request::kReadSelection:
      return QStringLiteral("ReadSelection");
    case Request::kReadSelectionWithSlot:
      return QStringLiteral("ReadSelectionWithSlot");
    case Request::kStopReading:
      return QStringLiteral("StopReading");
    case Request::kShowOptions:
      return QStringLiteral("ShowOptions");
  }
  return {};
}

QString CommandLineUsage() {
  return QStringLiteral(
      "Usage: voxmere [-autostart]\n"
      "       voxmere --read | --read-slot N | --stop | --options\n"
      "\n"
      "Without options, starts Voxmere in the system tray (-autostart: hidden, as at\n"
      "log-in). One copy runs per user.\n"
      "\n"
      "The options below ask the running Voxmere, as its hot keys do, and end at once:\n"
      "  --read          read the selected text with the default voice\n"
      "  --read-slot N   read the selected text with voice slot N (1 is the first\n"
      "                  slot of the Voice slots page)\n"
      "  --stop          stop reading\n"
      "  --options       show the options window\n"
      "  -h, --help      show this text\n"
      "\n"
      "Exit status: 0 done; 1 Voxmere is not running (or did not answer); 2 bad\n"
      "arguments or no such voice slot.\n");
}

}  // namespace voxmere
