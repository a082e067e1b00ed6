// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace voxmere {

// Tabs padded 6 pixels left and right and 3 above and below, as in the
// Windows program, where the five page captions fit the window's fixed width.
// A style sheet would do the same, but Qt keeps a style sheet's caches for
// the whole run, long after the window that used them has gone.
class CompactTabStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override;
};

}  // namespace voxmere
