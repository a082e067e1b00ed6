// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// What other processes may ask of the running program (`voxmere --read`, a
// desktop's keyboard shortcut, a script): the work of the hot keys and of
// the tray menu's "Options" entry.
class RemoteRequests {
 public:
  virtual ~RemoteRequests() = default;

  // Each request returns at once; the work follows from the event loop, so
  // the caller never waits for a capture or an engine.
  virtual void ReadSelection() = 0;
  // `slot` as users count the voice slots: 1 is the Voice slots page's first
  // row. Empty when the request was taken, else why not (no such slot).
  virtual QString ReadSelectionWithSlot(int slot) = 0;
  virtual void StopReading() = 0;
  virtual void ShowOptions() = 0;
  // A reading is going on: the tray icon's animation runs.
  virtual bool Reading() const = 0;
};

// Offers the requests to other processes of the user's session.
class RemoteControlService {
 public:
  virtual ~RemoteControlService() = default;

  // From now on requests reach `requests`, which outlives the service's
  // offer. False when they cannot (no session bus, the name is taken); the
  // program then runs on without remote control.
  virtual bool Offer(RemoteRequests& requests) = 0;
  // Tells whoever listens that the answer of Reading() has changed.
  virtual void ReadingChanged(bool reading) = 0;
};

}  // namespace voxmere
