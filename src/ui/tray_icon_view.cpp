// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray_icon_view.h"

#include <QCursor>

#include "app/options_window.h"
#include "ui/icons.h"
#include "ui/tray_menu_style.h"
#include "ui/tray_menu_view.h"

namespace voxmere {

TrayIconView::TrayIconView(OptionsWindow& window, QObject* parent)
    : QObject(parent),
      window_(window),
      style_(std::make_unique<TrayMenuStyle>()),
      menu_(std::make_unique<TrayMenuView>(window.tray_menu, window, *style_)),
      icon_(std::make_unique<QSystemTrayIcon>()) {
  TrayIconModel& model = window.tray_icon;
  icon_->setObjectName(model.objectName());
  icon_->setToolTip(TrayIconModel::Hint());
  icon_->setIcon(TrayPictureIcon(model.Picture()));
  connect(&model, &TrayIconModel::PictureChanged, icon_.get(),
          [this](TrayPicture picture) { icon_->setIcon(TrayPictureIcon(picture)); });
  connect(&model, &TrayIconModel::IconVisibleChanged, icon_.get(), &QSystemTrayIcon::setVisible);
  // No context menu of Qt's: ours opens on the press, drawn our way.
  connect(icon_.get(), &QSystemTrayIcon::activated, this, &TrayIconView::OnActivated);
  icon_->setVisible(model.IconVisible());
}

TrayIconView::~TrayIconView() {
  // The icon leaves the tray before the menu and the style go.
  icon_.reset();
  menu_.reset();
}

void TrayIconView::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Context:
      menu_->popup(QCursor::pos());
      break;
    case QSystemTrayIcon::DoubleClick:
      window_.Guard([this] { window_.TrayIconDoubleClicked(); });
      break;
    default:
      break;
  }
}

}  // namespace voxmere
