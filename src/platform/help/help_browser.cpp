// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/help_browser.h"

#include <QDesktopServices>
#include <QHelpEngineCore>

#include "platform/help/help_log.h"

namespace voxmere {
namespace {

bool IsHelpAddress(const QUrl& url) { return url.scheme() == QLatin1String("qthelp"); }

}  // namespace

HelpBrowser::HelpBrowser(QHelpEngineCore& engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
  setObjectName(QStringLiteral("HelpBrowser"));
  // Links are followed here (doSetSource), never handed on wholesale.
  setOpenExternalLinks(false);
  setOpenLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  // A page's own links and its stylesheet are relative to the page.
  const QUrl url = name.isRelative() ? source().resolved(name) : name;
  if (!IsHelpAddress(url)) return QTextBrowser::loadResource(type, url);
  const QByteArray data = engine_.fileData(url);
  if (data.isEmpty()) {
    qCWarning(HelpLog, "The help file has nothing at %s", qUtf8Printable(url.toString()));
    return {};
  }
  return data;
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
  const QUrl url = name.isRelative() ? source().resolved(name) : name;
  if (!url.isEmpty() && !IsHelpAddress(url)) {
    if (!QDesktopServices::openUrl(url)) {
      qCWarning(HelpLog, "Could not open %s", qUtf8Printable(url.toString()));
    }
    return;
  }
  QTextBrowser::doSetSource(name, type);
}

}  // namespace voxmere
