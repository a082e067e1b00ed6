// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "app/project_links.h"
#include "platform/help_viewer.h"
#include "platform/web_links.h"

namespace voxmere {

// The "About" page: three links and the small print. Start-up makes the links
// bold. A link whose address the build left empty opens the help instead.
class AboutPage : public QObject {
  Q_OBJECT

 public:
  AboutPage(WebLinks& links, HelpViewer& help, ProjectLinks addresses, QObject* parent = nullptr)
      : QObject(parent), links_(links), help_(help), addresses_(std::move(addresses)) {}

  // The web site's host (or "Voxmere help"), "Program information",
  // "Technical support".
  QString LinkText(int link) const;
  static const QString& SmallPrint();
  bool LinksBold() const { return links_bold_; }
  void SetLinksBold() {
    links_bold_ = true;
    emit LinksBoldChanged();
  }

  void OpenMakerWebsite();
  void OpenProgramPage();
  void OpenSupportMail();

 signals:
  void LinksBoldChanged();

 private:
  WebLinks& links_;
  HelpViewer& help_;
  ProjectLinks addresses_;
  bool links_bold_ = false;
};

}  // namespace voxmere
