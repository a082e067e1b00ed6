// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <vector>

#include "e2e_scenario.h"
#include "tray_menu_picture.h"

namespace voxmere::e2e {
namespace {

class TrayMenuTest : public ScenarioTest {
 protected:
  std::vector<WindowInfo> Popups() const { return PopupsOf(program_->processId()); }

  // Right-clicks the tray icon and checks the menu that comes; returns
  // where it is on the screen (empty on failure) and its entries' rows.
  QRect OpenAndCheckMenu(bool reading, MenuRows& rows) {
    const std::optional<WindowInfo> icon = TrayIconOf(program_->processId());
    if (!icon || !Popups().empty()) {
      ADD_FAILURE() << "no tray icon, or a popup is already open";
      return {};
    }
    const QPoint centre = icon->geometry.center();
    Xdo({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "3"});
    return CheckOpenedMenu(*program_, Output(), reading,
                           reading ? "tray-menu-reading" : "tray-menu", rows);
  }
};

TEST_F(TrayMenuTest, RightClickOnTheIconPopsThePaintedMenu) {
  ASSERT_NE(StartProgram(), nullptr);
  MenuRows rows;
  ASSERT_FALSE(OpenAndCheckMenu(false, rows).isEmpty());

  // Esc closes the menu; the program runs on.
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_TRUE(WaitFor([&] { return Popups().empty(); }));
  EXPECT_EQ(program_->state(), QProcess::Running);
}

TEST_F(TrayMenuTest, DuringAReadingTheMenuOffersStopReadingInsteadOfExit) {
  ASSERT_NE(StartProgram(), nullptr);
  ClipboardOwner before("clipboard text from before the reading");
  ASSERT_FALSE(SelectInXterm("This line is long enough to be still speaking while the menu is "
                             "opened, looked at, and used to stop the reading before its end")
                   .isEmpty());
  ASSERT_TRUE(PressAndListen("ctrl+BackSpace", std::chrono::seconds(20))) << Output().toStdString();

  MenuRows rows;
  const QRect menu = OpenAndCheckMenu(true, rows);
  ASSERT_FALSE(menu.isEmpty());
  ASSERT_TRUE(monitor_->WaitForSound(std::chrono::milliseconds(500))) << "no longer speaking";

  // "Stop reading" stops it, and the menu closes.
  const QPoint stop(menu.left() + 60, menu.top() + (rows.stop_first + rows.stop_last) / 2);
  const Clock::time_point clicked = Clock::now();
  ASSERT_TRUE(
      Xdo({"mousemove", QString::number(stop.x()), QString::number(stop.y()), "click", "1"}));
  const std::optional<Clock::time_point> end = WaitForQuiet(std::chrono::seconds(15));
  ASSERT_TRUE(end) << "the reading went on";
  EXPECT_LT(*end - clicked, std::chrono::milliseconds(1000));
  EXPECT_TRUE(WaitFor([&] { return Popups().empty(); }));

  // Idle again: the menu is back to its idle state.
  ASSERT_FALSE(OpenAndCheckMenu(false, rows).isEmpty());
  ASSERT_TRUE(PressKeys("Escape"));
}

TEST_F(TrayMenuTest, HelpOpensItsTopicsAndAMissingHelpFileIsSaid) {
  ASSERT_NE(StartProgram(), nullptr);
  const qint64 pid = program_->processId();
  MenuRows rows;
  const QRect menu = OpenAndCheckMenu(false, rows);
  ASSERT_FALSE(menu.isEmpty());
  const QPoint help(menu.left() + 60,
                    menu.top() + rows.help_first + (rows.stop_last - rows.stop_first) / 2);
  ASSERT_TRUE(
      Xdo({"mousemove", QString::number(help.x()), QString::number(help.y()), "click", "1"}));
  EXPECT_TRUE(WaitFor([&] {
    return VisibleWindowNamed(pid, "Introduction - Voxmere! Help").has_value();
  })) << Output().toStdString();

  // The options window's Help button asks for the topic of its page.
  ASSERT_TRUE(PressKeys("ctrl+F11"));
  const std::optional<WindowInfo> options = copy_.WaitForOptionsWindow(*program_);
  ASSERT_TRUE(options && Focus(options->id));
  ASSERT_TRUE(PressKeys("ctrl+Tab") && PressKeys("ctrl+Tab") && PressKeys("alt+h"));
  EXPECT_TRUE(WaitFor([&] {
    return VisibleWindowNamed(pid, "Working with voice slots - Voxmere! Help").has_value();
  })) << Output().toStdString();

  // Without the help file each request says so.
  ASSERT_TRUE(QFile::remove(QFileInfo(copy_.Path()).dir().filePath("voxmere.qch")));
  ASSERT_TRUE(Focus(options->id) && PressKeys("F1"));
  std::optional<WindowInfo> box;
  EXPECT_TRUE(WaitFor([&] { return (box = VisibleWindowNamed(pid, "Voxmere!")).has_value(); }))
      << Output().toStdString();
  if (box) {
    ASSERT_TRUE(Focus(box->id) && PressKeys("Return"));
    EXPECT_TRUE(WaitFor([&] { return !VisibleWindowNamed(pid, "Voxmere!"); }));
  }
  EXPECT_EQ(program_->state(), QProcess::Running);
}

}  // namespace
}  // namespace voxmere::e2e
