// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tray_model.h"

namespace voxmere {

const QString& TrayIconModel::Hint() {
  static const QString hint = QStringLiteral("Voxmere!");
  return hint;
}

void TrayIconModel::SetPicture(TrayPicture picture) {
  picture_ = picture;
  // Always reported: the tray shows whatever it is given at once, even the
  // picture it already shows.
  emit PictureChanged(picture_);
}

void TrayIconModel::SetIconVisible(bool visible) {
  if (visible == icon_visible_) return;
  icon_visible_ = visible;
  emit IconVisibleChanged(icon_visible_);
}

void TrayIconModel::SetAnswering(bool answering) {
  if (answering == answering_) return;
  answering_ = answering;
  emit AnsweringChanged(answering_);
}

TrayMenuModel::TrayMenuModel(const GeneralPage& general, QObject* parent)
    : QObject(parent), general_(general) {
  setObjectName(QStringLiteral("TrayMenu"));
  entries_ = {&options, &configure_slots, &separator1, &stop_reading, &separator2,
              &help,    &website,         &about,      &separator3,   &exit};
}

MenuEntry* TrayMenuModel::DefaultEntry() const {
  for (MenuEntry* entry : entries_) {
    if (entry->IsDefault()) return entry;
  }
  return nullptr;
}

QString TrayMenuModel::RightText(const MenuEntry& entry) const {
  // Read when the menu is drawn, so a hot key changed on the General page
  // shows the next time the menu opens.
  if (&entry == &options) return general_.options_key_field.Text();
  if (&entry == &stop_reading) return general_.stop_key_field.Text();
  return QString();
}

}  // namespace voxmere
