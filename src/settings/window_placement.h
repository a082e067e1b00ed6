// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

namespace voxmere {

// A window's placement the way the Windows program stores it in cfg.ini.
struct WindowPlacement {
  int flags = 0;
  // 1 shown normally, 2 minimized.
  int show_cmd = 1;
  QPoint min_position{-1, -1};
  QPoint max_position{-1, -1};
  // Left, top, right, bottom of the normal position (right and bottom
  // exclusive, as on Windows).
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// "x,y,x,y" and "left,top,right,bottom": four decimal integers with commas.
QString FormatPlacementNumbers(int a, int b, int c, int d);
// The four integers of such a value (blanks around each allowed); none when
// the text does not hold exactly four integers.
struct PlacementNumbers {
  int a, b, c, d;
};
std::optional<PlacementNumbers> ParsePlacementNumbers(const QString& text);

}  // namespace voxmere
