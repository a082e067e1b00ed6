// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QStyleOptionMenuItem>
#include <QTest>

#include "ui/icons.h"
#include "ui/tray_menu_style.h"
#include "ui/tray_menu_view.h"
#include "ui_fixture.h"

namespace voxmere {
namespace {

QImage Render(QWidget& widget) {
  widget.ensurePolished();
  widget.adjustSize();
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels of `image` inside `area` that have exactly `colour`.
int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixelColor(x, y).rgb() == colour.rgb()) ++count;
    }
  }
  return count;
}

TEST(TrayMenuView, EntriesDefaultAndHotKeyTexts) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();
  window.general.options_key_field.SetText(QStringLiteral("Ctrl+Alt+O"));
  window.general.stop_key_field.SetText(QStringLiteral("Ctrl+Alt+S"));
  TrayMenuView& menu = ui.tray->Menu();
  // The texts are read as the menu opens.
  emit menu.aboutToShow();

  QStringList texts;
  for (const QAction* action : menu.actions()) {
    texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  EXPECT_EQ(texts, (QStringList{"Options...\tCtrl+Alt+O", "Configure Voice Slots...", "-",
                                "Stop reading\tCtrl+Alt+S", "-", "Help", "Official Website",
                                "About...", "-", "Exit"}));
  EXPECT_EQ(menu.defaultAction(), menu.ActionOf(window.tray_menu.options));
  EXPECT_FALSE(menu.ActionOf(window.tray_menu.stop_reading)->isEnabled());
  EXPECT_TRUE(menu.ActionOf(window.tray_menu.exit)->isEnabled());

  // Entries follow the models live.
  window.tray_menu.stop_reading.SetEnabled(true);
  window.tray_menu.exit.SetEnabled(false);
  EXPECT_TRUE(menu.ActionOf(window.tray_menu.stop_reading)->isEnabled());
  EXPECT_FALSE(menu.ActionOf(window.tray_menu.exit)->isEnabled());

  // A changed stop key shows the next time the menu opens.
  window.general.stop_key_field.SetText(QStringLiteral("Shift+F2"));
  emit menu.aboutToShow();
  EXPECT_EQ(menu.ActionOf(window.tray_menu.stop_reading)->text(),
            QStringLiteral("Stop reading\tShift+F2"));

  // Choosing an entry runs its handler: "About..." shows the About page.
  menu.ActionOf(window.tray_menu.about)->trigger();
  EXPECT_TRUE(ui.view->isVisible());
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kAbout);
}

TEST(TrayMenuView, DrawsBandEntriesAndSeparators) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();
  window.general.options_key_field.SetText(QStringLiteral("Ctrl+Alt+O"));
  TrayMenuView& menu = ui.tray->Menu();
  emit menu.aboutToShow();
  const QImage image = Render(menu);
  ASSERT_GT(image.height(), 120);

  // The band: 20 pixels inside the one-pixel frame, light blue at the top,
  // the darker blue at the bottom.
  const int band_left = 1;
  const int band_bottom = image.height() - 2;
  EXPECT_EQ(image.pixelColor(band_left + 10, 1).rgb(), TrayMenuView::BandTop().rgb());
  EXPECT_EQ(image.pixelColor(band_left + 10, band_bottom).rgb(), TrayMenuView::BandBottom().rgb());
  // The name in white runs upwards above the icon; the icon sits at its foot.
  const QRect name_area(band_left, 1, TrayMenuView::kBandWidth,
                        image.height() - 2 - TrayMenuView::kNameAboveBottom);
  EXPECT_GT(CountColour(image, name_area, Qt::white), 20);
  const QImage icon = IdleIconPixmap().toImage();
  const int icon_top = band_bottom + 1 - TrayMenuView::kIconAboveBottom;
  EXPECT_EQ(image.pixelColor(band_left + TrayMenuView::kIconLeft + 0, icon_top + 6).rgb(),
            icon.pixelColor(0, 6).rgb());
  EXPECT_EQ(image.pixelColor(band_left + TrayMenuView::kIconLeft + 4, icon_top + 8).rgb(),
            icon.pixelColor(4, 8).rgb());

  // "Stop reading" is disabled: grey text, no black.
  const QRect stop = menu.actionGeometry(menu.ActionOf(window.tray_menu.stop_reading));
  EXPECT_GE(stop.left(), TrayMenuView::kBandWidth);
  EXPECT_GT(CountColour(image, stop, TrayMenuStyle::DisabledText()), 0);
  EXPECT_EQ(CountColour(image, stop, Qt::black), 0);
  // An enabled entry is black on white; "Options..." has its hot key text
  // right-aligned 5 pixels before the edge.
  const QRect options = menu.actionGeometry(menu.ActionOf(window.tray_menu.options));
  EXPECT_GT(CountColour(image, options, Qt::black), 0);
  const QRect right_edge(options.right() - 4, options.top(), 5, options.height());
  EXPECT_EQ(CountColour(image, right_edge, Qt::white), right_edge.width() * right_edge.height());
  const QRect right_text(options.right() - 30, options.top(), 25, options.height());
  EXPECT_GT(CountColour(image, right_text, Qt::black), 0);

  // A separator is a light grey line at its middle row.
  const QRect separator = menu.actionGeometry(menu.actions().at(2));
  const int row =
      TrayMenuStyle::SeparatorRow(separator.top(), separator.top() + separator.height());
  EXPECT_EQ(image.pixelColor(separator.center().x(), row).rgb(),
            TrayMenuStyle::SeparatorLine().rgb());
  EXPECT_EQ(image.pixelColor(separator.center().x(), row - 1).rgb(), QColor(Qt::white).rgb());
}

TEST(TrayMenuStyle, DefaultEntryMeasuredBoldAndSeparatorRows) {
  UiApplication();
  TrayMenuStyle style;
  QStyleOptionMenuItem item;
  item.text = QStringLiteral("Options...\tCtrl+Alt+O");
  item.menuItemType = QStyleOptionMenuItem::Normal;
  const QSize normal = style.sizeFromContents(QStyle::CT_MenuItem, &item, QSize(), nullptr);
  item.menuItemType = QStyleOptionMenuItem::DefaultItem;
  const QSize bold = style.sizeFromContents(QStyle::CT_MenuItem, &item, QSize(), nullptr);
  EXPECT_GT(bold.width(), normal.width());
  EXPECT_TRUE(TrayMenuStyle::EntryFont(QFont(), true).bold());
  EXPECT_EQ(TrayMenuStyle::EntryFont(QFont(), false).pointSize(), 8);

  // The middle of an entry; halves go to the even row.
  EXPECT_EQ(TrayMenuStyle::SeparatorRow(10, 20), 15);
  EXPECT_EQ(TrayMenuStyle::SeparatorRow(0, 9), 4);
  EXPECT_EQ(TrayMenuStyle::SeparatorRow(1, 10), 6);
  EXPECT_EQ(TrayMenuStyle::SeparatorRow(-3, 0), -2);
}

TEST(TrayIconView, HintPictureVisibilityAndClicks) {
  UiFixture ui;
  QSystemTrayIcon& icon = ui.tray->Icon();
  EXPECT_EQ(icon.toolTip(), QStringLiteral("Voxmere!"));
  EXPECT_FALSE(icon.isVisible());
  OptionsWindow& window = ui.Start();
  EXPECT_EQ(icon.isVisible(), window.tray_icon.IconVisible());
  window.tray_icon.SetIconVisible(false);
  EXPECT_FALSE(icon.isVisible());
  window.tray_icon.SetIconVisible(true);
  EXPECT_TRUE(icon.isVisible());

  window.tray_icon.SetPicture(TrayPicture::kReadingFrame2);
  EXPECT_EQ(icon.icon().pixmap(16, 16).toImage(), ReadingFrame2Pixmap().toImage());
  window.tray_icon.SetPicture(TrayPicture::kIdleIcon);
  EXPECT_EQ(icon.icon().pixmap(16, 16).toImage(), IdleIconPixmap().toImage());
  // A picture is the same icon each time it comes back: Qt keeps the pixmaps
  // of every icon it painted in its cache, so a new one each time grows it.
  const qint64 idle_key = icon.icon().cacheKey();
  window.tray_icon.SetPicture(TrayPicture::kReadingFrame1);
  const qint64 frame_key = icon.icon().cacheKey();
  window.tray_icon.SetPicture(TrayPicture::kIdleIcon);
  EXPECT_EQ(icon.icon().cacheKey(), idle_key);
  window.tray_icon.SetPicture(TrayPicture::kReadingFrame1);
  EXPECT_EQ(icon.icon().cacheKey(), frame_key);
  window.tray_icon.SetPicture(TrayPicture::kIdleIcon);

  // On an XEmbed tray a single click does nothing; a double click shows the
  // General page.
  window.tray_icon.SetProtocol(TrayProtocol::kXEmbed);
  ui.view->Hide();
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  ui.tray->OnActivated(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(ui.view->isVisible());
  ui.tray->OnActivated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(ui.view->isVisible());
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);

  // A StatusNotifierItem host's Activate is the single click.
  window.tray_icon.SetProtocol(TrayProtocol::kStatusNotifierItem);
  ui.view->Hide();
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  ui.tray->OnActivated(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(ui.view->isVisible());
  EXPECT_EQ(window.pages.ActivePageIndex(), OptionsWindow::kGeneral);

  // A middle click opens the menu only there, for hosts that never ask for
  // it on a right click.
  for (const TrayProtocol protocol : {TrayProtocol::kXEmbed, TrayProtocol::kStatusNotifierItem}) {
    window.tray_icon.SetProtocol(protocol);
    ui.tray->OnActivated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(ui.tray->Menu().isVisible(), protocol == TrayProtocol::kStatusNotifierItem);
    ui.tray->Menu().hide();
  }
}

}  // namespace
}  // namespace voxmere
