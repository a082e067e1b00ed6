// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace voxmere::test_support {

struct RunResult {
  bool ok = false;  // started, ended in time with status 0
  QByteArray output;
};

// Runs a program to its end with the event loop running meanwhile, so that
// our own windows and clipboard can answer it.
RunResult RunProcess(const QString& program, const QStringList& arguments, int timeout_ms);

}  // namespace voxmere::test_support
