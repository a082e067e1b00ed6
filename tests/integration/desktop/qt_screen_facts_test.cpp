// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/qt_screen_facts.h"

#include <gtest/gtest.h>

#include "desktop_test_environment.h"

namespace voxmere {
namespace {

TEST(QtScreenFactsTest, PrimaryScreenAtTheScaleInUse) {
  // with_services.sh runs Xvfb at 1280 x 1024; the environment has Qt scale
  // it by 125 %, as a desktop set to 120 dots per inch does.
  const PrimaryScreen screen = QtScreenFacts().Primary();
  EXPECT_EQ(screen.pixels_per_inch, 120);
  // In the coordinates windows are placed in: 1280 / 1.25 by 1024 / 1.25.
  EXPECT_EQ(screen.size, QSize(1024, 819));
  // No desktop panels on the bare server: all of it is work area.
  EXPECT_EQ(screen.work_area, QRect(QPoint(0, 0), screen.size));
}

}  // namespace
}  // namespace voxmere
