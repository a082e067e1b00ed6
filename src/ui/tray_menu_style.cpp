// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray_menu_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace voxmere {
namespace {

// An entry's caption and its hot key text: QMenu hands them over as one text
// with a tab between them.
struct EntryTexts {
  QString caption;
  QString right;
};

EntryTexts SplitEntryText(const QString& text) {
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  if (tab < 0) return {text, QString()};
  return {text.left(tab), text.mid(tab + 1)};
}

constexpr int kSeparatorHeight = 9;
constexpr int kEntryExtraHeight = 6;
// Room between the caption and the hot key text.
constexpr int kRightTextSpace = 24;
// What the entry needs beyond its texts (the band is the menu's margin).
constexpr int kEntryExtraWidth = 1;

}  // namespace

const QColor& TrayMenuStyle::SelectedBackground() {
  static const QColor colour(49, 106, 197);
  return colour;
}

const QColor& TrayMenuStyle::DisabledText() {
  static const QColor colour(0x80, 0x80, 0x80);
  return colour;
}

const QColor& TrayMenuStyle::SeparatorLine() {
  static const QColor colour(0xC0, 0xC0, 0xC0);
  return colour;
}

// Fusion draws the same on every desktop; our own drawing replaces it for
// the menu's parts anyway.
TrayMenuStyle::TrayMenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int TrayMenuStyle::SeparatorRow(int top, int bottom) {
  const int sum = top + bottom;
  const int half = sum >= 0 ? sum / 2 : -((-sum + 1) / 2);  // floor
  if (sum % 2 == 0) return half;
  // Exactly between two rows: the even one.
  return half % 2 == 0 ? half : half + 1;
}

QFont TrayMenuStyle::EntryFont(const QFont& base, bool is_default) {
  QFont font = base;
  font.setPointSize(kPointSize);
  font.setBold(is_default);
  return font;
}

void TrayMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (element == CE_MenuEmptyArea) {
    painter->fillRect(option->rect, Qt::white);
    return;
  }
  if (element != CE_MenuItem || item == nullptr) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  painter->save();
  const QRect& rect = item->rect;
  const bool selected = item->state & State_Selected;
  const bool enabled = item->state & State_Enabled;
  painter->fillRect(rect, selected ? SelectedBackground() : QColor(Qt::white));
  if (item->menuItemType == QStyleOptionMenuItem::Separator) {
    const int row = SeparatorRow(rect.top(), rect.top() + rect.height());
    painter->setPen(SeparatorLine());
    painter->drawLine(rect.left(), row, rect.left() + rect.width() - 1, row);
    painter->restore();
    return;
  }
  QColor text_colour = selected ? QColor(Qt::white) : QColor(Qt::black);
  if (!enabled) text_colour = DisabledText();
  painter->setPen(text_colour);
  const QFont font = EntryFont(item->font, item->menuItemType == QStyleOptionMenuItem::DefaultItem);
  painter->setFont(font);
  const QFontMetrics metrics(font);
  const EntryTexts texts = SplitEntryText(item->text);
  const int baseline = rect.top() + kTextTop + metrics.ascent();
  painter->drawText(QPoint(rect.left() + kCaptionLeft, baseline), texts.caption);
  if (!texts.right.isEmpty()) {
    const int width = metrics.horizontalAdvance(texts.right);
    const int right_edge = rect.left() + rect.width();
    painter->drawText(QPoint(right_edge - kRightTextGap - width, baseline), texts.right);
  }
  painter->restore();
}

void TrayMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
  switch (element) {
    case PE_PanelMenu:
      painter->fillRect(option->rect, Qt::white);
      return;
    case PE_FrameMenu: {
      // A one-pixel grey frame around the menu.
      painter->save();
      painter->setPen(DisabledText());
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
      painter->restore();
      return;
    }
    default:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

QSize TrayMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (type != CT_MenuItem || item == nullptr) {
    return QProxyStyle::sizeFromContents(type, option, size, widget);
  }
  if (item->menuItemType == QStyleOptionMenuItem::Separator) return QSize(1, kSeparatorHeight);
  // The default entry is measured in bold.
  const QFont font = EntryFont(item->font, item->menuItemType == QStyleOptionMenuItem::DefaultItem);
  const QFontMetrics metrics(font);
  const EntryTexts texts = SplitEntryText(item->text);
  int width =
      kCaptionLeft + metrics.horizontalAdvance(texts.caption) + kRightTextGap + kEntryExtraWidth;
  // QMenu adds the widest hot key text itself.
  if (!texts.right.isEmpty()) width += kRightTextSpace;
  return QSize(width, metrics.height() + kEntryExtraHeight);
}

int TrayMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
  switch (metric) {
    case PM_MenuPanelWidth:
      return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuDesktopFrameWidth:
    case PM_MenuTearoffHeight:
      return 0;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

int TrayMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* return_data) const {
  switch (hint) {
    // A disabled entry under the mouse is highlighted too (its text stays
    // grey).
    case SH_Menu_AllowActiveAndDisabled:
      return 1;
    case SH_Menu_Scrollable:
      return 0;
    default:
      return QProxyStyle::styleHint(hint, option, widget, return_data);
  }
}

}  // namespace voxmere
