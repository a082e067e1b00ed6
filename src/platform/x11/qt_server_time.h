// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxmere {

// Brings the X server time Qt keeps (the time of the last event it handled)
// up to now. Qt takes a selection with that time, and the server refuses a
// take older than the selection's last change: after a clipboard manager
// took the clipboard, Qt could not take it back until some event came.
// Changes a property of the root window over Qt's connection and handles
// events until Qt has seen the notice (at most `milliseconds`); false when
// it did not come.
bool RefreshQtServerTime(int milliseconds);

}  // namespace voxmere
