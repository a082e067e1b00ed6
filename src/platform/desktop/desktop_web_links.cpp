// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/desktop_web_links.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/desktop/desktop_log.h"

namespace voxmere {

bool DesktopWebLinks::Open(const QString& address) {
  // Strict parsing: a text that is not an address is not handed on for the
  // opener to guess at (a bare word could name a local file).
  const QUrl url(address.trimmed(), QUrl::StrictMode);
  if (!url.isValid() || url.isRelative()) {
    qCWarning(DesktopLog, "\"%s\" was not opened: it is not an absolute address",
              qUtf8Printable(address));
    return false;
  }
  if (QDesktopServices::openUrl(url)) return true;
  qCWarning(DesktopLog, "%s was not opened: the desktop has no program for it, or it failed",
            qUtf8Printable(url.toString()));
  return false;
}

}  // namespace voxmere
