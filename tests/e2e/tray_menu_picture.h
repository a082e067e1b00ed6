// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <vector>

#include "e2e_env.h"

// The painted tray menu as it shows on the screen, whichever tray opened it.
namespace voxmere::e2e {

// The rows of the menu's entries, told apart by its three separators.
// Entries: Options..., Configure Voice Slots..., separator, Stop reading,
// separator, Help, Official Website, About..., separator, Exit.
struct MenuRows {
  int stop_first = 0, stop_last = 0;  // "Stop reading"
  int exit_first = 0, exit_last = 0;  // "Exit"
  int options_last = 0;               // "Options..." and "Configure Voice Slots..."
  int help_first = 0;                 // "Help", as high as "Stop reading"
};

// The process's popup windows on the screen.
std::vector<WindowInfo> PopupsOf(qint64 pid);

// Waits for the menu the process pops up and checks its photograph: the
// band, the separators, and which of "Stop reading" and "Exit" is enabled
// (the first while reading). Moves the pointer off the menu. Returns where
// the menu is on the screen, empty (with a test failure) when it did not
// come or looks wrong. `name` names the pictures kept.
QRect CheckOpenedMenu(const QProcess& program, const QString& output, bool reading,
                      const QString& name, MenuRows& rows);

}  // namespace voxmere::e2e
