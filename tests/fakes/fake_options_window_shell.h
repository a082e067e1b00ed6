// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

#include "app/options_window_shell.h"

namespace voxmere {

// The options window as a test sees it: visible or not, minimized or not, a
// placement and a frame size the test sets, a set of controls that can take
// the focus. Records "ShowInFront", "Hide", "Minimize", "MoveTo(x,y)",
// "FocusControl(name)" and "Quit" in order.
class FakeOptionsWindowShell : public OptionsWindowShell {
 public:
  void ShowInFront() override {
    calls.push_back(QStringLiteral("ShowInFront"));
    visible_ = true;
    minimized_ = false;
    placement.show_cmd = 1;
  }
  void Hide() override {
    calls.push_back(QStringLiteral("Hide"));
    visible_ = false;
  }
  void Minimize() override {
    calls.push_back(QStringLiteral("Minimize"));
    minimized_ = true;
    placement.show_cmd = 2;
  }
  bool Visible() const override { return visible_; }
  bool Minimized() const override { return minimized_; }

  WindowPlacement Placement() const override { return placement; }
  QSize FrameSize() const override { return frame_size; }
  // Keeps the size and moves the normal position, as a real window does.
  void MoveTo(QPoint top_left) override {
    calls.push_back(QStringLiteral("MoveTo(%1,%2)").arg(top_left.x()).arg(top_left.y()));
    placement.right = top_left.x() + frame_size.width();
    placement.bottom = top_left.y() + frame_size.height();
    placement.left = top_left.x();
    placement.top = top_left.y();
    moved_to = top_left;
  }

  QString ActiveControl() const override { return active_control; }
  bool FocusControl(const QString& name) override {
    calls.push_back(QStringLiteral("FocusControl(%1)").arg(name));
    if (!focusable.contains(name)) return false;
    active_control = name;
    return true;
  }

  void Quit() override {
    calls.push_back(QStringLiteral("Quit"));
    ++quits;
  }

  // A test sets the state as the user left it.
  void SetVisible(bool visible) { visible_ = visible; }
  void SetMinimized(bool minimized) { minimized_ = minimized; }
  int CountOf(const QString& call) const { return static_cast<int>(calls.count(call)); }

  QStringList calls;
  // Centred on a 1280 x 1024 screen, 411 x 305 outside.
  WindowPlacement placement{0, 1, {-1, -1}, {-1, -1}, 434, 359, 845, 664};
  QSize frame_size{411, 305};
  QSet<QString> focusable;
  QString active_control;
  QPoint moved_to{-1, -1};
  int quits = 0;

 private:
  bool visible_ = false;
  bool minimized_ = false;
};

}  // namespace voxmere
