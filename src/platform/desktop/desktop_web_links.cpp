#include "platform/desktop/desktop_web_links.h"

#include <QDesktopServices>
#include <QUrl>

namespace voxmere {

bool DesktopWebLinks::Open(const QString& address) {
  // Strict parsing: a text that is not an address is not handed on for the
  // opener to guess at (a bare word could name a local file).
  const QUrl url(address.trimmed(), QUrl::StrictMode);
  if (!url.isValid() || url.isRelative()) return false;
  return QDesktopServices::openUrl(url);
}

}  // namespace voxmere
