// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_page.h"

namespace voxmere {

QString AboutPage::LinkText(int link) const {
  switch (link) {
    case 0:
      return addresses_.HomepageText();
    case 1:
      return QStringLiteral("Program information");
    case 2:
      return QStringLiteral("Technical support");
    default:
      return QString();
  }
}

const QString& AboutPage::SmallPrint() {
  static const QString text =
      QStringLiteral("Voxmere, free software under the GNU GPL, version 3 or later");
  return text;
}

void AboutPage::OpenMakerWebsite() {
  OpenLinkOrHelp(links_, help_, addresses_.homepage, HelpTopic::kIntroduction, parent());
}

void AboutPage::OpenProgramPage() {
  OpenLinkOrHelp(links_, help_, addresses_.program_page, HelpTopic::kIntroduction, parent());
}

void AboutPage::OpenSupportMail() {
  OpenLinkOrHelp(links_, help_, addresses_.support, HelpTopic::kGettingHelp, parent());
}

}  // namespace voxmere
