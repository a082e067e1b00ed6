// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <optional>

#include "app/welcome_window_shell.h"

class QEventLoop;

namespace voxmere {

class WelcomeWindow;

// Where a window whose frame is `frame` goes when it snaps to the edges of
// `area` (the screen's available geometry): each edge that comes within
// `distance` pixels of the area's edge is put on it.
QPoint SnapToEdges(const QRect& frame, const QRect& area, int distance);

// The welcome window: borderless, blue gradients, the greeting, the paragraph
// and the "Continue" link. Esc and the link close it; dragging the background
// moves it, and it snaps to the screen's edges.
class WelcomeWindowView : public QWidget, public WelcomeWindowShell {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 328;
  static constexpr int kClientHeight = 187;
  static constexpr int kSnapDistance = 20;

  // Centred on the options window's frame, shown or not.
  WelcomeWindowView(WelcomeWindow& welcome, const QWidget& options_window,
                    QWidget* parent = nullptr);
  ~WelcomeWindowView() override;

  // WelcomeWindowShell.
  void ShowModal() override;
  void Close() override;
  bool Visible() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Snap();

  WelcomeWindow& welcome_;
  QEventLoop* loop_ = nullptr;
  // Where the mouse holds the window while we move it ourselves (no window
  // manager to ask).
  std::optional<QPoint> drag_offset_;
  bool snapping_ = false;
};

}  // namespace voxmere
