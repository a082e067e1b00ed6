// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/web_links.h"

namespace voxmere {

// Web addresses and mail links through QDesktopServices (xdg-open on a plain
// X11 desktop, the desktop's own opener where there is one). Needs a
// QGuiApplication.
class DesktopWebLinks : public WebLinks {
 public:
  bool Open(const QString& address) override;
};

}  // namespace voxmere
