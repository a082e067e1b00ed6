// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/voxmere_application.h"

#include "platform/exception.h"

namespace voxmere {

VoxmereApplication::VoxmereApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VoxmereApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    Report(error);
  } catch (...) {
    Report(Exception(QStringLiteral("Unknown error")));
  }
  // The event counts as handled: the action that raised the error is
  // abandoned, and the program runs on.
  return true;
}

void VoxmereApplication::Report(const std::exception& error) {
  if (!handler_) return;
  try {
    handler_(error);
  } catch (...) {
    // Showing the error failed too; nothing more can be done here.
  }
}

}  // namespace voxmere
