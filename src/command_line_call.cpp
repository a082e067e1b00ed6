// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line_call.h"

#include <QCoreApplication>
#include <QStringList>
#include <QVariantList>
#include <cstdio>

#include "app/command_line.h"
#include "platform/dbus/dbus_remote_call.h"

namespace voxmere {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitNotRunning = 1;
constexpr int kExitBadArguments = 2;

int Complain(int status, const QString& message) {
  std::fprintf(stderr, "voxmere: %s\n", qUtf8Printable(message));
  return status;
}

}  // namespace

std::optional<int> RunCommandLineCall(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const CommandLine line = ParseCommandLine(arguments);
  switch (line.action) {
    case CommandLine::Action::kStartProgram:
      return std::nullopt;
    case CommandLine::Action::kShowUsage:
      std::fputs(qUtf8Printable(CommandLineUsage()), stdout);
      return kExitDone;
    case CommandLine::Action::kBadArguments:
      return Complain(kExitBadArguments, line.problem + QStringLiteral(" (see voxmere --help)"));
    case CommandLine::Action::kCallProgram:
      break;
  }

  // The bus connection wants an application object; a core one needs no
  // display.
  int app_argc = 1;
  QCoreApplication app(app_argc, argv);
  QVariantList values;
  if (line.request == CommandLine::Request::kReadSelectionWithSlot) values << line.slot;
  const RemoteCallResult result = CallRunningProgram(RequestMethodName(line.request), values);
  switch (result.outcome) {
    case RemoteCallResult::Outcome::kDone:
      return kExitDone;
    case RemoteCallResult::Outcome::kRefused:
      return Complain(kExitBadArguments, result.message);
    case RemoteCallResult::Outcome::kNotRunning:
    case RemoteCallResult::Outcome::kFailed:
      break;
  }
  return Complain(kExitNotRunning, result.message);
}

}  // namespace voxmere
