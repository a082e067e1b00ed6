// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/help_viewer.h"
#include "platform/web_links.h"

class QObject;

namespace voxmere {

// Where the About page's links, the tray's "Official Website" and the
// no-engines message lead. The project has no web site of its own: the
// addresses are build settings, empty unless a packager sets them, and an
// empty one opens the matching topic of the bundled help instead.
struct ProjectLinks {
  QString homepage;
  QString program_page;
  // A mailto: link or a web page.
  QString support;
  QString speech_engines;

  // The addresses this program was built with.
  static ProjectLinks Built();
  // Whom the missing-help message tells the user to ask: the support
  // address without its "mailto:", or the developers when none is set.
  QString SupportContact() const;
  // The About page's first link: the web site's host, or the help's name.
  QString HomepageText() const;
};

// Opens `address` with the desktop's handler, or `topic` of the help when the
// address is empty. A handler that cannot be started is not reported.
void OpenLinkOrHelp(WebLinks& links, HelpViewer& help, const QString& address, HelpTopic topic,
                    QObject* parent = nullptr);

}  // namespace voxmere
