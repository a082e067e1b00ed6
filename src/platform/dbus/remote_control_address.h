// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The interface's name as a literal, for the exported object's class
// information as well.
#define VOXMERE_REMOTE_CONTROL_INTERFACE "invalid.voxmere.Voxmere1"

namespace voxmere {

// Where the running program answers on the session bus: the one place that
// names it. The project owns no domain; its names live under "invalid.voxmere"
// as its AppStream id does.
struct RemoteControlAddress {
  static QString Service() { return QStringLiteral("invalid.voxmere.Voxmere"); }
  static QString Path() { return QStringLiteral("/Voxmere"); }
  static QString Interface() { return QStringLiteral(VOXMERE_REMOTE_CONTROL_INTERFACE); }
  // The error a reading with a voice slot that does not exist is answered with.
  static QString NoSuchSlotError() { return Interface() + QStringLiteral(".Error.NoSuchSlot"); }
};

}  // namespace voxmere
