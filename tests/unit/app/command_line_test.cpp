// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace voxmere {
namespace {

using Action = CommandLine::Action;
using Request = CommandLine::Request;

TEST(CommandLineTest, RequestsStartsAndMistakes) {
  const struct {
    QStringList arguments;
    Action action;
    Request request;
    int slot;
  } cases[] = {
      // A start, as before: the start-up entry's switch, Qt's own options.
      {{}, Action::kStartProgram, Request::kReadSelection, 0},
      {{"-autostart"}, Action::kStartProgram, Request::kReadSelection, 0},
      {{"-platform", "offscreen"}, Action::kStartProgram, Request::kReadSelection, 0},
      // One request each; a slot number in either spelling.
      {{"--read"}, Action::kCallProgram, Request::kReadSelection, 0},
      {{"--stop"}, Action::kCallProgram, Request::kStopReading, 0},
      {{"--options"}, Action::kCallProgram, Request::kShowOptions, 0},
      {{"--read-slot", "3"}, Action::kCallProgram, Request::kReadSelectionWithSlot, 3},
      {{"--read-slot=12"}, Action::kCallProgram, Request::kReadSelectionWithSlot, 12},
      {{"--help"}, Action::kShowUsage, Request::kReadSelection, 0},
      {{"--read", "-h"}, Action::kShowUsage, Request::kReadSelection, 0},
      // Mistakes: nothing is asked, nothing is started.
      {{"--raed"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--autostart"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read-slot"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read-slot", "0"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read-slot", "-1"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read-slot", "two"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read-slot", " 2"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read-slot", "99999999999"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read-slot="}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read-slot", "--stop"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read=1"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--read", "--stop"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"--stop", "now"}, Action::kBadArguments, Request::kReadSelection, 0},
      {{"-autostart", "--options"}, Action::kBadArguments, Request::kReadSelection, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.problem.isEmpty(), c.action != Action::kBadArguments);
    if (c.action != Action::kCallProgram) continue;
    EXPECT_EQ(line.request, c.request);
    EXPECT_EQ(line.slot, c.slot);
  }
}

}  // namespace
}  // namespace voxmere
