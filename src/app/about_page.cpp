// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_page.h"

namespace voxmere {

QString AboutPage::LinkText(int link) {
  switch (link) {
    case 0:
      return QStringLiteral("voxmere.org");
    case 1:
      return QStringLiteral("Program information");
    case 2:
      return QStringLiteral("Technical support");
    default:
      return QString();
  }
}

}  // namespace voxmere
