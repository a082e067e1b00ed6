// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariantList>

namespace voxmere {

// How a call of the running program went.
struct RemoteCallResult {
  enum class Outcome {
    kDone,        // the program took the request
    kNotRunning,  // no program answers at the address (or there is no bus)
    kRefused,     // the program refused the request's argument
    kFailed,      // any other failure: no answer in time, a bus error
  };
  Outcome outcome = Outcome::kDone;
  // Why, for all but kDone.
  QString message;
};

// Calls `method` of the running program's remote control on the session bus
// and waits (briefly) for its answer. Needs a QCoreApplication, no display.
RemoteCallResult CallRunningProgram(const QString& method, const QVariantList& arguments = {});

}  // namespace voxmere
