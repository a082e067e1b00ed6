// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QProxyStyle>

namespace voxmere {

// How the tray menu's entries are drawn: white entries, the selected one blue
// with white text, disabled text grey, separators as a light grey line, 8
// points with the default entry bold, the caption at 15, 2 in the entry and
// the hot key text ending 5 pixels before its right edge. The band at the
// left is the menu's own (TrayMenuView). The style must outlive every menu
// that uses it.
class TrayMenuStyle : public QProxyStyle {
  Q_OBJECT

 public:
  static const QColor& SelectedBackground();  // RGB 49, 106, 197
  static const QColor& DisabledText();        // #808080
  static const QColor& SeparatorLine();       // #C0C0C0
  static constexpr int kCaptionLeft = 15;
  static constexpr int kTextTop = 2;
  static constexpr int kRightTextGap = 5;
  static constexpr int kPointSize = 8;

  TrayMenuStyle();

  // The row of a separator's line in an entry from `top` to `bottom`
  // (exclusive): their middle, a half going to the even neighbour.
  static int SeparatorRow(int top, int bottom);
  // The font of an entry.
  static QFont EntryFont(const QFont& base, bool is_default);

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                const QWidget* widget = nullptr,
                QStyleHintReturn* return_data = nullptr) const override;
};

}  // namespace voxmere
