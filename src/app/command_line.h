// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace voxmere {

// What the command line asks for. Double-dash options are the program's
// own; other arguments (-autostart, Qt's -platform and the like) belong to
// a start of the program and are left to it.
struct CommandLine {
  enum class Action {
    kStartProgram,  // no double-dash option: start (or meet the running copy)
    kCallProgram,   // one request of the running program, then the end
    kShowUsage,     // --help
    kBadArguments,  // `problem` says what is wrong
  };
  // The requests of the running program, as its remote control names them.
  enum class Request { kReadSelection, kReadSelectionWithSlot, kStopReading, kShowOptions };

  Action action = Action::kStartProgram;
  Request request = Request::kReadSelection;
  // For kReadSelectionWithSlot: the voice slot as users count them, from 1.
  int slot = 0;
  QString problem;
};

// Reads the arguments that follow the program's path.
CommandLine ParseCommandLine(const QStringList& arguments);

// The text of --help.
QString CommandLineUsage();

// The remote control's method for a request.
QString RequestMethodName(CommandLine::Request request);

}  // namespace voxmere
