// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/session_selection.h"

namespace voxmere {

// The selection of a Wayland session, read through the wlr data-control
// protocol (sway and the other wlroots compositors, KDE Plasma) over a
// connection of its own for each read, so it works whatever Qt's platform
// is (the program's windows use XWayland). Holds no connection between
// reads: a connection left unread would fill with the compositor's notices
// of every copy, and the compositor drops a client whose queue is full.
class WaylandSessionSelection : public SessionSelection {
 public:
  SessionSelectionText Read(int milliseconds) override;
};

}  // namespace voxmere
