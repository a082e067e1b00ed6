// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxmere {

// What the welcome window's model needs of the real window. The Qt view
// implements it; tests use a fake.
class WelcomeWindowShell {
 public:
  virtual ~WelcomeWindowShell() = default;

  // Shows the window in front and returns when it has been closed; events
  // (hot keys, the tray menu) go on meanwhile.
  virtual void ShowModal() = 0;
  // Hides the window; ShowModal then returns.
  virtual void Close() = 0;
  virtual bool Visible() const = 0;
};

}  // namespace voxmere
