// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "controls/check_box.h"
#include "platform/key_names.h"
#include "reading/hot_key_field.h"

namespace voxmere {

// The "General" page: the start-up options and the three main hot keys.
class GeneralPage : public QObject {
  Q_OBJECT

 public:
  explicit GeneralPage(const KeyNames& key_names, QObject* parent = nullptr);

  // The start-up entry exists.
  CheckBox load_at_startup{QStringLiteral("LoadAtStartup_CheckBox"),
                           QStringLiteral("&Load program at startup")};
  // Stored as MinimizeToTray: closing the window hides it into the tray.
  CheckBox minimize_to_tray{QStringLiteral("MinimizeToTray_CheckBox"),
                            QStringLiteral("&Minimize to system tray on window closing"), true};
  // Stored as PrimarySelection: readings take what is selected on the screen
  // (X11's primary selection) instead of copying it through the clipboard.
  CheckBox primary_selection{QStringLiteral("PrimarySelection_CheckBox"),
                             QStringLiteral("Read the selection &directly (without copying it)")};
  // Reading, options and stop hot keys; the reading field holds Alt+Ins
  // until the first settings load.
  HotKeyField reading_key_field;
  HotKeyField options_key_field;
  HotKeyField stop_key_field;

  // A line under the hot keys about where they work in this session; empty
  // where they work everywhere (an X11 session).
  const QString& SessionNote() const { return session_note_; }
  void SetWaylandSession(bool wayland);

 private:
  QString session_note_;
};

}  // namespace voxmere
