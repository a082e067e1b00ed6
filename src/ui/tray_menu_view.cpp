// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray_menu_view.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "app/options_window.h"
#include "app/tray_model.h"
#include "ui/icons.h"
#include "ui/tray_menu_style.h"

namespace voxmere {
namespace {

constexpr int kMaxStripes = 255;

// Comic Sans MS where the system has it, else a plain bold face.
QFont BandFont() {
  static const bool has_comic = QFontDatabase::families().contains(QStringLiteral("Comic Sans MS"));
  QFont font(has_comic ? QStringLiteral("Comic Sans MS") : QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(10);
  font.setBold(true);
  return font;
}

QColor Between(const QColor& from, const QColor& to, int step, int steps) {
  const auto mix = [step, steps](int a, int b) { return a + (b - a) * step / (steps - 1); };
  return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                mix(from.blue(), to.blue()));
}

}  // namespace

const QColor& TrayMenuView::BandTop() {
  static const QColor colour(122, 150, 223);
  return colour;
}

const QColor& TrayMenuView::BandBottom() {
  static const QColor colour(49, 106, 197);
  return colour;
}

TrayMenuView::TrayMenuView(TrayMenuModel& model, OptionsWindow& window, TrayMenuStyle& style,
                           QWidget* parent)
    : QMenu(parent), model_(model) {
  setObjectName(model.objectName());
  setStyle(&style);
  setFont(TrayMenuStyle::EntryFont(font(), false));
  setContentsMargins(kBandWidth, 0, 0, 0);
  setSeparatorsCollapsible(false);
  for (MenuEntry* entry : model.Entries()) {
    QAction* action = entry->IsSeparator() ? addSeparator() : addAction(entry->Caption());
    action->setObjectName(entry->objectName());
    action->setEnabled(entry->Enabled());
    if (entry->IsDefault() && defaultAction() == nullptr) setDefaultAction(action);
    connect(entry, &MenuEntry::EnabledChanged, action, &QAction::setEnabled);
    if (!entry->IsSeparator()) {
      connect(action, &QAction::triggered, entry, [&window, entry] {
        if (entry->Enabled()) window.Guard([entry] { entry->Click(); });
      });
    }
    actions_.insert(entry, action);
  }
  RefreshTexts();
  connect(this, &QMenu::aboutToShow, this, &TrayMenuView::RefreshTexts);
}

void TrayMenuView::RefreshTexts() {
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
    const MenuEntry& entry = *it.key();
    if (entry.IsSeparator()) continue;
    const QString right = model_.RightText(entry);
    // The menu shows the text after a tab at the entry's right.
    it.value()->setText(right.isEmpty() ? entry.Caption()
                                        : entry.Caption() + QLatin1Char('\t') + right);
  }
}

void TrayMenuView::paintEvent(QPaintEvent* event) {
  QMenu::paintEvent(event);
  const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
  QPainter painter(this);
  PaintBand(painter, QRect(frame, frame, kBandWidth, height() - 2 * frame));
}

void TrayMenuView::PaintBand(QPainter& painter, const QRect& band) {
  if (band.height() <= 0) return;
  painter.save();
  // Stripes of equal height; rows left over at the bottom take the bottom
  // colour.
  const int stripes = std::max(2, std::min(kMaxStripes, band.height()));
  const int stripe_height = std::max(1, band.height() / stripes);
  painter.fillRect(band, BandBottom());
  for (int stripe = 0; stripe < stripes; ++stripe) {
    const int top = band.top() + stripe * stripe_height;
    if (top > band.bottom()) break;
    painter.fillRect(QRect(band.left(), top, band.width(), stripe_height),
                     Between(BandTop(), BandBottom(), stripe, stripes));
  }

  // The name runs upwards from 25 pixels above the bottom.
  const QFont font = BandFont();
  painter.setFont(font);
  painter.setPen(Qt::white);
  const int bottom = band.top() + band.height();
  painter.translate(band.left(), bottom - kNameAboveBottom);
  painter.rotate(-90);
  painter.drawText(QPoint(0, QFontMetrics(font).ascent()), QStringLiteral("Voxmere!"));
  painter.resetTransform();

  painter.drawPixmap(band.left() + kIconLeft, bottom - kIconAboveBottom, IdleIconPixmap());
  painter.restore();
}

}  // namespace voxmere
