// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fake_session_manager.h"

namespace voxmere {

// Every test of this executable runs in one QApplication on the private X
// server, connected to a fake session manager, with Qt told to scale the
// screen by 125 % (QT_FONT_DPI=120) so screen facts see a scaled screen.
FakeSessionManager& TestSessionManager();

}  // namespace voxmere
