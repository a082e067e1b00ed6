// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/qt_screen_facts.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtMath>

namespace voxmere {

PrimaryScreen QtScreenFacts::Primary() const {
  PrimaryScreen facts;
  const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                              ? QGuiApplication::primaryScreen()
                              : nullptr;
  if (!screen) return facts;
  facts.size = screen->geometry().size();
  facts.work_area = screen->availableGeometry();
  // Qt keeps the logical resolution at 96 and scales the coordinates
  // instead; the product is what Windows reports (120 at 125 %).
  facts.pixels_per_inch = qRound(screen->logicalDotsPerInch() * screen->devicePixelRatio());
  return facts;
}

}  // namespace voxmere
