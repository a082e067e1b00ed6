// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// Hands a web address or a mailto link to the desktop's handler for it.
class WebLinks {
 public:
  virtual ~WebLinks() = default;
  // True when a handler was started. An empty, relative or malformed address
  // is refused with false. Never waits for the handler to finish.
  virtual bool Open(const QString& address) = 0;
};

}  // namespace voxmere
