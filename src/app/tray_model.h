// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "app/general_page.h"
#include "controls/menu_entry.h"

namespace voxmere {

// The pictures the tray icon shows. kTrayDefault is what the tray shows
// before any picture was set (the application's icon, which is the idle
// icon's picture as well).
enum class TrayPicture { kTrayDefault, kIdleIcon, kReadingFrame1, kReadingFrame2 };

// How the desktop hosts the icon. An XEmbed tray (trayer, older panels)
// reports double clicks; a StatusNotifierItem host (KDE, XFCE, GNOME's
// AppIndicator) reports single clicks only, as Activate.
enum class TrayProtocol { kXEmbed, kStatusNotifierItem };

// The tray icon as the program drives it. The view adds and removes the icon,
// shows the picture and reports the mouse.
class TrayIconModel : public QObject {
  Q_OBJECT

 public:
  static const QString& Hint();  // "Voxmere!"

  explicit TrayIconModel(QObject* parent = nullptr) : QObject(parent) {
    setObjectName(QStringLiteral("TrayIcon"));
  }

  TrayPicture Picture() const { return picture_; }
  void SetPicture(TrayPicture picture);
  bool IconVisible() const { return icon_visible_; }
  void SetIconVisible(bool visible);
  // False while the program is still starting (its icon may show already):
  // a click on the icon (a tray host's D-Bus call among them) and other
  // processes' requests wait until it is true again.
  bool Answering() const { return answering_; }
  void SetAnswering(bool answering);
  // Minimizing the application hides the window into the tray while on.
  bool MinimizeToTray() const { return minimize_to_tray_; }
  void SetMinimizeToTray(bool on) { minimize_to_tray_ = on; }
  // Which protocol the tray speaks; the view says so once the icon exists.
  TrayProtocol Protocol() const { return protocol_; }
  void SetProtocol(TrayProtocol protocol) { protocol_ = protocol; }
  // Some StatusNotifierItem hosts (XFCE's panel) never ask for the menu on a
  // right click; there a middle click (SecondaryActivate) opens it too.
  bool MiddleClickOpensMenu() const { return protocol_ == TrayProtocol::kStatusNotifierItem; }
  // The reading animation's phase.
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

 signals:
  void PictureChanged(TrayPicture picture);
  void IconVisibleChanged(bool visible);
  void AnsweringChanged(bool answering);

 private:
  TrayPicture picture_ = TrayPicture::kTrayDefault;
  bool icon_visible_ = false;
  bool answering_ = true;
  bool minimize_to_tray_ = true;
  TrayProtocol protocol_ = TrayProtocol::kXEmbed;
  int tag_ = 0;
};

// The tray menu's entries in order, separators included ("-" captions). The
// texts at the right of "Options..." and "Stop reading" are the General
// page's hot key fields as they stand when the menu is drawn.
class TrayMenuModel : public QObject {
  Q_OBJECT

 public:
  explicit TrayMenuModel(const GeneralPage& general, QObject* parent = nullptr);

  MenuEntry options{QStringLiteral("Options1"), QStringLiteral("Options..."), true, true};
  MenuEntry configure_slots{QStringLiteral("Configurevoiceslots1"),
                            QStringLiteral("Configure Voice Slots...")};
  MenuEntry separator1{QStringLiteral("N1"), QStringLiteral("-")};
  MenuEntry stop_reading{QStringLiteral("Stopreading1"), QStringLiteral("Stop reading"), false};
  MenuEntry separator2{QStringLiteral("N2"), QStringLiteral("-")};
  MenuEntry help{QStringLiteral("Help1"), QStringLiteral("Help")};
  MenuEntry website{QStringLiteral("Website1"), QStringLiteral("Official Website")};
  MenuEntry about{QStringLiteral("About1"), QStringLiteral("About...")};
  MenuEntry separator3{QStringLiteral("N3"), QStringLiteral("-")};
  MenuEntry exit{QStringLiteral("Exit1"), QStringLiteral("Exit")};

  const QList<MenuEntry*>& Entries() const { return entries_; }
  // The entry with the lowest index among those marked default.
  MenuEntry* DefaultEntry() const;
  // The hot key text drawn at the right of an entry, or empty.
  QString RightText(const MenuEntry& entry) const;

 private:
  const GeneralPage& general_;
  QList<MenuEntry*> entries_;
};

}  // namespace voxmere
