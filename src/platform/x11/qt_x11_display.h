// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <xcb/xcb.h>

#include <QByteArray>

namespace voxmere {

// Qt's own X connection, or nullptr when Qt runs on another platform (under
// "offscreen" the X11 interface exists but has no connection).
xcb_connection_t* QtX11Connection();

// The name of the display Qt is connected to, for connections of our own to
// the same display; empty when there is none.
QByteArray QtX11DisplayName();

}  // namespace voxmere
