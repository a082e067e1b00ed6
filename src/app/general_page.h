#pragma once

#include <QObject>

#include "controls/check_box.h"
#include "platform/key_names.h"
#include "reading/hot_key_edit.h"

namespace voxmere {

// The "General" page: the start-up options and the three main hot keys.
class GeneralPage : public QObject {
  Q_OBJECT

 public:
  explicit GeneralPage(const KeyNames& key_names, QObject* parent = nullptr);

  // The start-up entry exists.
  CheckBox LoadAtStartup_CheckBox{QStringLiteral("LoadAtStartup_CheckBox"),
                                  QStringLiteral("&Load program at Windows startup")};
  // Stored as MinimizeToTray: closing the window hides it into the tray.
  CheckBox MinimizeToTray_CheckBox{QStringLiteral("MinimizeToTray_CheckBox"),
                                   QStringLiteral("&Minimize to system tray on window closing"),
                                   true};
  // Reading, options and stop hot keys; the reading field holds Alt+Ins
  // until the first settings load.
  TJvHotKeyEx Reading_HotKey;
  TJvHotKeyEx Options_HotKey;
  TJvHotKeyEx Stop_HotKey;
};

}  // namespace voxmere
