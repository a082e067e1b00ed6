// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxmere {

// The program's own focused control, told to copy: the Windows program sends
// WM_COPY to the window that has the focus on its own thread.
class FocusCopy {
 public:
  virtual ~FocusCopy() = default;

  // When one of our own text fields has the keyboard focus and a selection,
  // it copies the selection to the clipboard. Does nothing while another
  // application is active.
  virtual void CopyFocusedSelection() = 0;
};

}  // namespace voxmere
