// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

namespace voxmere {

// What window placement needs to know about the primary screen.
struct PrimaryScreen {
  // In the coordinates window positions are given in.
  QSize size;
  // Pixels per inch as Windows counts them: 96 at normal scale, 120 at 125 %,
  // so a stored position is recognised as belonging to another scale.
  int pixels_per_inch = 96;
  // The screen less the desktop's panels, in the same coordinates.
  QRect work_area;
};

class ScreenFacts {
 public:
  virtual ~ScreenFacts() = default;
  // With no screen at all: an empty size and work area, 96 pixels per inch.
  virtual PrimaryScreen Primary() const = 0;
};

}  // namespace voxmere
