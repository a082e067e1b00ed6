#pragma once

#include <QGuiApplication>

namespace voxmere {

// One Qt application for the whole test executable, on the offscreen
// platform: a window system without X. Created by whichever test needs it
// first and kept until the process ends.
inline void EnsureOffscreenApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "x11_tests";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(argc, argv);
}

}  // namespace voxmere
