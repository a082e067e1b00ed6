// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <memory>
#include <optional>

#include "ui/icons.h"

namespace voxmere {

class OptionsWindow;
class TrayMenuStyle;
class TrayMenuView;

// The tray icon: the model's hint and picture, shown while the model says so.
// A right-button press (a StatusNotifierItem host's ContextMenu) pops the
// painted menu up at the cursor; a double click runs the window's double-click
// handler; a single click goes to the window, which acts on it only where the
// tray reports no double clicks. The model learns which tray protocol is used.
class TrayIconView : public QObject {
  Q_OBJECT

 public:
  explicit TrayIconView(OptionsWindow& window, QObject* parent = nullptr);
  ~TrayIconView() override;

  QSystemTrayIcon& Icon() { return *icon_; }
  TrayMenuView& Menu() { return *menu_; }

  // What the tray reports of the mouse.
  void OnActivated(QSystemTrayIcon::ActivationReason reason);

 private:
  OptionsWindow& window_;
  // Declared first: it must outlive the menu.
  std::unique_ptr<TrayMenuStyle> style_;
  std::unique_ptr<TrayMenuView> menu_;
  TrayPictureIcons pictures_;
  std::unique_ptr<QSystemTrayIcon> icon_;
  // The last click made while the program was still starting.
  std::optional<QSystemTrayIcon::ActivationReason> held_;
};

}  // namespace voxmere
