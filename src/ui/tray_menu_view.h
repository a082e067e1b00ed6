// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QMenu>

namespace voxmere {

class MenuEntry;
class OptionsWindow;
class TrayMenuModel;
class TrayMenuStyle;

// The painted tray menu: one action per entry of the tray menu model, enabled
// as the entry is, with the hot key texts read as the menu opens; a 20-pixel
// band at the left in a blue gradient with the program's name written upwards
// and the idle icon at its foot.
class TrayMenuView : public QMenu {
  Q_OBJECT

 public:
  static constexpr int kBandWidth = 20;
  static const QColor& BandTop();     // RGB 122, 150, 223
  static const QColor& BandBottom();  // RGB 49, 106, 197
  static constexpr int kNameAboveBottom = 25;
  static constexpr int kIconAboveBottom = 20;
  static constexpr int kIconLeft = 2;

  // `style` must outlive the menu.
  TrayMenuView(TrayMenuModel& model, OptionsWindow& window, TrayMenuStyle& style,
               QWidget* parent = nullptr);

  // The action of an entry (null for none).
  QAction* ActionOf(const MenuEntry& entry) const { return actions_.value(&entry); }
  // Sets the actions' texts from the entries as they stand now (also done
  // each time the menu is about to show).
  void RefreshTexts();

  // Fills `band` with the gradient of up to 255 stripes, writes the name and
  // draws the icon.
  static void PaintBand(QPainter& painter, const QRect& band);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TrayMenuModel& model_;
  QMap<const MenuEntry*, QAction*> actions_;
};

}  // namespace voxmere
