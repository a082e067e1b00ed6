// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray_menu_picture.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <utility>

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

}  // namespace

std::vector<WindowInfo> PopupsOf(qint64 pid) {
  std::vector<WindowInfo> found;
  for (const WindowInfo& window : WindowsOf(pid)) {
    if (window.viewable && window.top_level && window.override_redirect) found.push_back(window);
  }
  return found;
}

QRect CheckOpenedMenu(const QProcess& program, const QString& output, bool reading,
                      const QString& name, MenuRows& rows) {
  std::vector<WindowInfo> menus;
  if (!WaitFor([&] { return !(menus = PopupsOf(program.processId())).empty(); }) ||
      menus.size() != 1) {
    ADD_FAILURE() << "no menu came; " << output.toStdString();
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
  const QString saved = SaveArtifact(picture, name + ".png");
  EXPECT_TRUE(faults.isEmpty()) << faults.toStdString() << " (picture: " << saved.toStdString()
                                << "); at first: " << first_faults.toStdString() << " (picture: "
                                << SaveArtifact(first_picture, name + "-first.png").toStdString()
                                << ")";
  return faults.isEmpty() ? area : QRect();
}

}  // namespace voxmere::e2e
