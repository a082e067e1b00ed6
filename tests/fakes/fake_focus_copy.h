// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "fakes/fake_capture_log.h"
#include "platform/focus_copy.h"

namespace voxmere {

// Our own focused field: logs "CopyFocusedSelection" and runs on_copy (a test
// puts the field's selection on the clipboard there).
class FakeFocusCopy : public FocusCopy {
 public:
  explicit FakeFocusCopy(CaptureLog& log) : log_(log) {}

  std::function<void()> on_copy;

  void CopyFocusedSelection() override {
    log_.push_back("CopyFocusedSelection");
    if (on_copy) on_copy();
  }

 private:
  CaptureLog& log_;
};

}  // namespace voxmere
