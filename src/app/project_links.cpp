// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/project_links.h"

#include <QUrl>

namespace voxmere {

ProjectLinks ProjectLinks::Built() {
  // Set by the build (CMake cache variables of the same names).
  return {QStringLiteral(VOXMERE_HOMEPAGE_URL), QStringLiteral(VOXMERE_PROGRAM_PAGE_URL),
          QStringLiteral(VOXMERE_SUPPORT_URL), QStringLiteral(VOXMERE_ENGINES_URL)};
}

QString ProjectLinks::SupportContact() const {
  const QString mail_scheme = QStringLiteral("mailto:");
  if (support.startsWith(mail_scheme, Qt::CaseInsensitive)) {
    // Only the address: a "?subject=" or the like is for the mail program.
    return support.mid(mail_scheme.size()).section(QLatin1Char('?'), 0, 0);
  }
  if (!support.isEmpty()) return support;
  return QStringLiteral("the Voxmere developers");
}

QString ProjectLinks::HomepageText() const {
  const QString host = QUrl(homepage).host();
  if (!host.isEmpty()) return host;
  return QStringLiteral("Voxmere help");
}

void OpenLinkOrHelp(WebLinks& links, HelpViewer& help, const QString& address, HelpTopic topic,
                    QObject* parent) {
  if (address.isEmpty()) {
    help.ShowTopic(topic, parent);
  } else {
    links.Open(address);
  }
}

}  // namespace voxmere
