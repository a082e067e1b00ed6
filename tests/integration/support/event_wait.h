#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace voxmere::test_support {

// Runs the event loop until the condition holds or the time is up. Outside
// programs tell us nothing when their state changes, so this looks again
// every 20 ms, handling our own events meanwhile.
bool PollUntil(const std::function<bool()>& condition, int timeout_ms);

struct RunResult {
  bool ok = false;  // started, ended in time with status 0
  QByteArray output;
};

// Runs a program to its end with the event loop running meanwhile, so that
// our own windows and clipboard can answer it.
RunResult RunProcess(const QString& program, const QStringList& arguments, int timeout_ms);

}  // namespace voxmere::test_support
