// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include "settings/window_placement.h"

namespace voxmere {

// What the options window's model needs of the real window and of the
// application: showing and hiding, the placement, the focus, the end of the
// event loop. The Qt view implements it; tests use a fake.
class OptionsWindowShell {
 public:
  virtual ~OptionsWindowShell() = default;

  // Restore the application, make the window visible (normal state) and bring
  // it to the front.
  virtual void ShowInFront() = 0;
  // Make the window invisible, taskbar button included.
  virtual void Hide() = 0;
  // Minimize the window without hiding it (the tray option off).
  virtual void Minimize() = 0;
  virtual bool Visible() const = 0;
  // True while the application is minimized (saved as ShowCmd 2).
  virtual bool Minimized() const = 0;

  // The window's placement now (flags, show state, positions).
  virtual WindowPlacement Placement() const = 0;
  // Outer size of the window; it is not resizable.
  virtual QSize FrameSize() const = 0;
  // Stop centring and put the window's top left corner here.
  virtual void MoveTo(QPoint top_left) = 0;

  // objectName of the control that has the focus in the window, or empty.
  virtual QString ActiveControl() const = 0;
  // Gives the named control the focus when it can take it; false otherwise.
  virtual bool FocusControl(const QString& name) = 0;

  // The close was granted: end the event loop (the program ends).
  virtual void Quit() = 0;
};

}  // namespace voxmere
