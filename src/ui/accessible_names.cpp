// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessible_names.h"

#include <QWidget>

namespace voxmere {

void SetAccessibleNames(QWidget& root, std::initializer_list<AccessibleName> names) {
  for (const AccessibleName& entry : names) {
    const QString object_name = QString::fromLatin1(entry.object_name);
    QWidget* control =
        root.objectName() == object_name ? &root : root.findChild<QWidget*>(object_name);
    Q_ASSERT_X(control != nullptr, "SetAccessibleNames", entry.object_name);
    if (control != nullptr) control->setAccessibleName(entry.name);
  }
}

}  // namespace voxmere
