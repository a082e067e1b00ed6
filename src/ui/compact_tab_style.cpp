// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/compact_tab_style.h"

namespace voxmere {

namespace {

constexpr int kHorizontalPadding = 6;
constexpr int kVerticalPadding = 3;

}  // namespace

int CompactTabStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                 const QWidget* widget) const {
  // A tab's size is its caption's plus these spaces, on both sides together.
  if (metric == PM_TabBarTabHSpace) return 2 * kHorizontalPadding;
  if (metric == PM_TabBarTabVSpace) return 2 * kVerticalPadding;
  return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace voxmere
