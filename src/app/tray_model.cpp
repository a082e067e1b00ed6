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

TrayMenuModel::TrayMenuModel(const GeneralPage& general, QObject* parent)
    : QObject(parent), general_(general) {
  setObjectName(QStringLiteral("TrayMenu"));
  entries_ = {&Options1, &Configurevoiceslots1, &N1, &Stopreading1, &N2, &Website1, &About1, &N3,
              &Exit1};
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
  if (&entry == &Options1) return general_.Options_HotKey.Text();
  if (&entry == &Stopreading1) return general_.Stop_HotKey.Text();
  return QString();
}

}  // namespace voxmere
