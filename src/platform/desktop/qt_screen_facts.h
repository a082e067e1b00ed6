// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/screen_facts.h"

namespace voxmere {

// The primary screen as Qt sees it. Needs a QGuiApplication.
class QtScreenFacts : public ScreenFacts {
 public:
  PrimaryScreen Primary() const override;
};

}  // namespace voxmere
