// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "controls/check_box.h"
#include "controls/menu_entry.h"
#include "controls/page_control.h"
#include "controls/text_field.h"
#include "controls/track_bar.h"

namespace voxmere {
namespace {

TEST(TrackBarTest, PositionStaysInTheRangeAndEveryChangeIsReported) {
  TrackBar bar("Speed_Bar", 60, 280, 10, 45);
  EXPECT_EQ(bar.objectName(), "Speed_Bar");
  EXPECT_EQ(bar.Position(), 60);  // clamped at construction
  EXPECT_EQ(bar.Frequency(), 45);
  QSignalSpy changed(&bar, &TrackBar::Changed);
  QSignalSpy ranges(&bar, &TrackBar::RangeChanged);

  bar.SetPosition(100);
  bar.SetPosition(100);  // no change, no report
  bar.SetPosition(500);
  bar.SetPosition(-3);
  ASSERT_EQ(changed.size(), 3);
  EXPECT_EQ(changed[0].at(0).toInt(), 100);
  EXPECT_EQ(changed[1].at(0).toInt(), 280);
  EXPECT_EQ(changed[2].at(0).toInt(), 60);

  // The range becomes exactly what is given; the position moves to the
  // nearest end and reports it.
  changed.clear();
  bar.SetRange(-10, 10);
  EXPECT_EQ(bar.Min(), -10);
  EXPECT_EQ(bar.Max(), 10);
  EXPECT_EQ(bar.Position(), 10);
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0].at(0).toInt(), 10);
  EXPECT_EQ(ranges.size(), 1);
  bar.SetPosition(-3);
  bar.SetRange(50, 250);
  EXPECT_EQ(bar.Min(), 50);
  EXPECT_EQ(bar.Position(), 50);

  // A range that keeps the position reports no position change; the same
  // range reports nothing at all.
  changed.clear();
  ranges.clear();
  bar.SetRange(0, 300);
  bar.SetRange(0, 300);
  EXPECT_EQ(changed.size(), 0);
  EXPECT_EQ(ranges.size(), 1);
  // A maximum below the minimum collapses onto the minimum.
  bar.SetRange(40, 20);
  EXPECT_EQ(bar.Max(), 40);
  EXPECT_EQ(bar.Position(), 40);
}

TEST(ControlsTest, PageControlReportsEverySwitch) {
  PageControl pages("Pages", 5);
  EXPECT_EQ(pages.ActivePageIndex(), 0);
  QSignalSpy switches(&pages, &PageControl::PageChanged);
  pages.SetActivePageIndex(3);
  pages.SetActivePageIndex(3);
  pages.SetActivePageIndex(5);
  pages.SetActivePageIndex(-1);
  pages.SetActivePageIndex(0);
  ASSERT_EQ(switches.size(), 2);
  EXPECT_EQ(switches[0].at(0).toInt(), 3);
  EXPECT_EQ(switches[1].at(0).toInt(), 0);
  EXPECT_EQ(pages.ActivePageIndex(), 0);
}

TEST(ControlsTest, CheckBoxTextFieldAndMenuEntryReportChangesOnly) {
  CheckBox box("Box", "&Box", true);
  QSignalSpy checks(&box, &CheckBox::CheckedChanged);
  box.SetChecked(true);
  box.Click();
  box.Click();
  ASSERT_EQ(checks.size(), 2);
  EXPECT_FALSE(checks[0].at(0).toBool());
  EXPECT_TRUE(box.Checked());

  // The program may set more than the user may type.
  TextField field("Edit1", "0", 3, true);
  QSignalSpy texts(&field, &TextField::TextChanged);
  field.SetText("0");
  field.SetText("-1234");
  EXPECT_EQ(field.Text(), "-1234");
  EXPECT_EQ(texts.size(), 1);

  MenuEntry separator("N1", "-");
  MenuEntry stop("Stop", "Stop reading", false);
  EXPECT_TRUE(separator.IsSeparator());
  EXPECT_FALSE(stop.IsSeparator());
  QSignalSpy enabled(&stop, &MenuEntry::EnabledChanged);
  QSignalSpy clicks(&stop, &MenuEntry::Clicked);
  stop.SetEnabled(false);
  stop.SetEnabled(true);
  stop.Click();
  EXPECT_EQ(enabled.size(), 1);
  EXPECT_EQ(clicks.size(), 1);
}

}  // namespace
}  // namespace voxmere
