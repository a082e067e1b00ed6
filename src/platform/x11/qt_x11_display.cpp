// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/qt_x11_display.h"

#include <QGuiApplication>

// Xlib after Qt: its macros (Status, Bool) break Qt's headers.
#include <X11/Xlib.h>

namespace voxmere {
namespace {

QNativeInterface::QX11Application* X11Application() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
             ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
             : nullptr;
}

}  // namespace

xcb_connection_t* QtX11Connection() {
  QNativeInterface::QX11Application* x11 = X11Application();
  return x11 != nullptr ? x11->connection() : nullptr;
}

QByteArray QtX11DisplayName() {
  QNativeInterface::QX11Application* x11 = X11Application();
  if (x11 == nullptr || x11->connection() == nullptr) return {};
  Display* display = x11->display();
  // Qt built without Xlib has no Display; it then opened $DISPLAY.
  return display != nullptr ? QByteArray(DisplayString(display)) : qgetenv("DISPLAY");
}

}  // namespace voxmere
