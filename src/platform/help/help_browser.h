// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QVariant>

class QHelpEngineCore;

namespace voxmere {

// The page view of the help window: pages, the stylesheet and pictures come
// out of the help file; addresses of the web (and mail links) go to the
// desktop's browser or mail program and leave the page as it is.
class HelpBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  HelpBrowser(QHelpEngineCore& engine, QWidget* parent = nullptr);

  QVariant loadResource(int type, const QUrl& name) override;

 protected:
  void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

 private:
  QHelpEngineCore& engine_;
};

}  // namespace voxmere
