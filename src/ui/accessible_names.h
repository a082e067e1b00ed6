// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <initializer_list>

class QWidget;

namespace voxmere {

struct AccessibleName {
  const char* object_name;
  QString name;
};

// Gives the controls below `root` with these object names the names a screen
// reader announces, taken from their labels. The object names stay as they
// are (the settings file stores them). A control that is not found is a
// mistake in the table: it fails loudly in debug builds.
void SetAccessibleNames(QWidget& root, std::initializer_list<AccessibleName> names);

}  // namespace voxmere
