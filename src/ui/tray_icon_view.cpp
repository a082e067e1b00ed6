// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray_icon_view.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <utility>

#include "app/options_window.h"
#include "ui/icons.h"
#include "ui/tray_menu_style.h"
#include "ui/tray_menu_view.h"

namespace voxmere {

namespace {

// The protocol Qt chose for the icon just made. Qt's Linux themes speak
// StatusNotifierItem when, at the icon's creation, the session bus has a
// watcher that reports a registered host; otherwise they dock by XEmbed.
// Asked the same way here, right after the icon was made.
TrayProtocol ProtocolOfNewIcon() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return TrayProtocol::kXEmbed;
  QDBusMessage get = QDBusMessage::createMethodCall(
      QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get.setArguments({QStringLiteral("org.kde.StatusNotifierWatcher"),
                    QStringLiteral("IsStatusNotifierHostRegistered")});
  const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
  const bool host = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
                    reply.arguments().first().value<QDBusVariant>().variant().toBool();
  return host ? TrayProtocol::kStatusNotifierItem : TrayProtocol::kXEmbed;
}

}  // namespace

TrayIconView::TrayIconView(OptionsWindow& window, QObject* parent)
    : QObject(parent),
      window_(window),
      style_(std::make_unique<TrayMenuStyle>()),
      menu_(std::make_unique<TrayMenuView>(window.tray_menu, window, *style_)),
      icon_(std::make_unique<QSystemTrayIcon>()) {
  TrayIconModel& model = window.tray_icon;
  model.SetProtocol(ProtocolOfNewIcon());
  icon_->setObjectName(model.objectName());
  icon_->setToolTip(TrayIconModel::Hint());
  icon_->setIcon(pictures_.Of(model.Picture()));
  connect(&model, &TrayIconModel::PictureChanged, icon_.get(),
          [this](TrayPicture picture) { icon_->setIcon(pictures_.Of(picture)); });
  connect(&model, &TrayIconModel::IconVisibleChanged, icon_.get(), &QSystemTrayIcon::setVisible);
  // No context menu of Qt's: ours opens on the press, drawn our way.
  connect(icon_.get(), &QSystemTrayIcon::activated, this, &TrayIconView::OnActivated);
  // Queued: a held click is taken once the start-up is over and the event
  // loop runs.
  connect(
      &window_.tray_icon, &TrayIconModel::AnsweringChanged, this,
      [this](bool answering) {
        if (answering && held_) OnActivated(*std::exchange(held_, std::nullopt));
      },
      Qt::QueuedConnection);
  icon_->setVisible(model.IconVisible());
}

TrayIconView::~TrayIconView() {
  // The icon leaves the tray before the menu and the style go.
  icon_.reset();
  menu_.reset();
}

void TrayIconView::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  if (!window_.tray_icon.Answering()) {
    held_ = reason;
    return;
  }
  switch (reason) {
    case QSystemTrayIcon::Context:
      // Also a StatusNotifierItem host's ContextMenu: Qt exports no D-Bus
      // menu for an icon without a context menu, so the host draws none and
      // asks us.
      menu_->popup(QCursor::pos());
      break;
    case QSystemTrayIcon::MiddleClick:
      if (window_.tray_icon.MiddleClickOpensMenu()) menu_->popup(QCursor::pos());
      break;
    case QSystemTrayIcon::Trigger:
      window_.Guard([this] { window_.TrayIconClicked(); });
      break;
    case QSystemTrayIcon::DoubleClick:
      window_.Guard([this] { window_.TrayIconDoubleClicked(); });
      break;
    default:
      break;
  }
}

}  // namespace voxmere
