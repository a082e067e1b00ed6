// SPDX-License-Identifier: GPL-3.0-or-later
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <utility>
#include <vector>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

// Columns where the band is painted: it is 20 pixels wide, inside the
// menu's frame of a pixel or two.
constexpr int kBandColumns = 22;
// Entries are looked at away from the band and the frame.
constexpr int kEntriesLeft = 26;
constexpr int kEdge = 3;

bool Near(QRgb pixel, const QColor& colour, int tolerance) {
  return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
         std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
         std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// What the photograph of the open menu shows.
class MenuPicture {
 public:
  explicit MenuPicture(QImage image) : image_(std::move(image)) {}

  // Whether a band pixel in the rows has the colour.
  bool BandHas(int first_row, int last_row, const QColor& colour) const {
    for (int y = std::max(0, first_row); y <= std::min(last_row, image_.height() - 1); ++y) {
      for (int x = 0; x < kBandColumns; ++x) {
        if (Near(image_.pixel(x, y), colour, 12)) return true;
      }
    }
    return false;
  }

  // The separators' rows: grey lines across the entries.
  std::vector<int> Separators() const {
    std::vector<int> rows;
    for (int y = 0; y < image_.height(); ++y) {
      int grey = 0, all = 0;
      for (int x = kEntriesLeft; x < image_.width() - kEdge; ++x, ++all) {
        if (Near(image_.pixel(x, y), QColor(0xC0, 0xC0, 0xC0), 6)) ++grey;
      }
      // One separator may be drawn two rows thick.
      if (all > 0 && grey * 2 > all && (rows.empty() || rows.back() != y - 1)) rows.push_back(y);
    }
    return rows;
  }

  // The darkest of the entries' pixels in the rows: the core of their text.
  QRgb Darkest(int first_row, int last_row) const {
    QRgb darkest = qRgb(255, 255, 255);
    ForEntryPixel(first_row, last_row, [&](QRgb pixel) {
      if (qGray(pixel) < qGray(darkest)) darkest = pixel;
    });
    return darkest;
  }

  int Height() const { return image_.height(); }

 private:
  template <typename Visit>
  void ForEntryPixel(int first_row, int last_row, Visit visit) const {
    for (int y = std::max(kEdge, first_row); y <= std::min(last_row, Height() - 1 - kEdge); ++y) {
      for (int x = kEntriesLeft; x < image_.width() - kEdge; ++x) visit(image_.pixel(x, y));
    }
  }

  QImage image_;
};

// The rows of the menu's entries, told apart by its three separators.
// Entries: Options..., Configure Voice Slots..., separator, Stop reading,
// separator, Help, Official Website, About..., separator, Exit.
struct MenuRows {
  int stop_first = 0, stop_last = 0;  // "Stop reading"
  int exit_first = 0, exit_last = 0;  // "Exit"
  int options_last = 0;               // "Options..." and "Configure Voice Slots..."
  int help_first = 0;                 // "Help", as high as "Stop reading"
};

// What is wrong with the picture of the menu; empty when nothing is. While
// a reading runs, "Stop reading" is enabled and "Exit" greyed; otherwise the
// other way round.
QString MenuFaults(const MenuPicture& menu, bool reading, MenuRows& rows) {
  QStringList faults;
  const int bottom = menu.Height() - 1;
  if (!menu.BandHas(0, 5, QColor(122, 150, 223))) faults << "no light blue at the band's top";
  if (!menu.BandHas(bottom - 5, bottom, QColor(49, 106, 197))) {
    faults << "no dark blue at the band's bottom";
  }
  if (menu.BandHas(bottom - 5, bottom, QColor(122, 150, 223))) {
    faults << "the band's bottom has its top colour";
  }
  const std::vector<int> separators = menu.Separators();
  if (separators.size() != 3) {
    faults << QString("%1 separators instead of 3").arg(separators.size());
    return faults.join("; ");
  }
  rows = {separators[0] + 2, separators[1] - 1, separators[2] + 2, bottom,
          separators[0] - 1, separators[1] + 2};
  // Enabled entries are written in black. A disabled entry's text is
  // $808080; smoothing leaves its darkest pixels that grey or a little
  // lighter, never darker.
  const auto check = [&](const char* entry, int first, int last, bool enabled) {
    const QRgb darkest = menu.Darkest(first, last);
    const bool black = qRed(darkest) <= 60 && qGreen(darkest) <= 60 && qBlue(darkest) <= 60;
    const bool disabled_grey = Near(darkest, QColor(0x88, 0x88, 0x88), 10) &&
                               std::abs(qRed(darkest) - qBlue(darkest)) <= 4;
    if (enabled && !black) faults << QString("\"%1\" is not drawn in black").arg(entry);
    if (!enabled && !disabled_grey) {
      faults << QString("\"%1\" is not greyed (its darkest pixel is %2)")
                    .arg(entry, QColor(darkest).name());
    }
  };
  check("Options...", 0, rows.options_last, true);
  check("Stop reading", rows.stop_first, rows.stop_last, reading);
  check("Exit", rows.exit_first, rows.exit_last, !reading);
  return faults.join("; ");
}

class TrayMenuTest : public ScenarioTest {
 protected:
  // The program's popup windows on the screen.
  std::vector<WindowInfo> Popups() const {
    std::vector<WindowInfo> found;
    for (const WindowInfo& window : WindowsOf(program_->processId())) {
      if (window.viewable && window.top_level && window.override_redirect) found.push_back(window);
    }
    return found;
  }

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
    std::vector<WindowInfo> menus;
    if (!WaitFor([&] { return !(menus = Popups()).empty(); }) || menus.size() != 1) {
      ADD_FAILURE() << "no menu came; " << Output().toStdString();
      return {};
    }
    const QRect area = menus.front().geometry;
    EXPECT_GT(area.width(), 100);
    EXPECT_GT(area.height(), 100);
    // Off the menu, so that no entry is highlighted.
    Xdo({"mousemove", "300", "900"});

    // The menu paints itself some time after it is mapped.
    QImage picture, first_picture;
    QString faults, first_faults;
    WaitFor(
        [&] {
          picture = GrabScreen(area);
          faults = MenuFaults(MenuPicture(picture), reading, rows);
          if (first_picture.isNull()) first_picture = picture, first_faults = faults;
          return faults.isEmpty();
        },
        10000);
    const QString name = reading ? "tray-menu-reading" : "tray-menu";
    const QString saved = SaveArtifact(picture, name + ".png");
    EXPECT_TRUE(faults.isEmpty()) << faults.toStdString() << " (picture: " << saved.toStdString()
                                  << "); at first: " << first_faults.toStdString() << " (picture: "
                                  << SaveArtifact(first_picture, name + "-first.png").toStdString()
                                  << ")";
    return faults.isEmpty() ? area : QRect();
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
