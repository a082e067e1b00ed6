// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/focus_copy.h"

namespace voxmere {

// The program's own focus widget copies: a line edit, text edit or plain
// text edit with a selection. QApplication has no focus widget while another
// application is active, so then nothing happens.
class QtFocusCopy : public FocusCopy {
 public:
  void CopyFocusedSelection() override;
};

}  // namespace voxmere
