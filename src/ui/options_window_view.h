// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "app/options_window_shell.h"

class QTabWidget;

namespace voxmere {

class OptionsWindow;
class KeyEventConversion;

// The options window "Voxmere! Options": the five pages, OK and Cancel, bound
// to the window's model. It attaches itself to the model as its shell and
// only shows, hides and reports; every decision is the model's.
class OptionsWindowView : public QWidget, public OptionsWindowShell {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 405;
  static constexpr int kClientHeight = 302;

  // The hot key fields ask keys for the virtual-key codes of key presses.
  OptionsWindowView(OptionsWindow& window, const KeyEventConversion& keys,
                    QWidget* parent = nullptr);
  ~OptionsWindowView() override;

  // OptionsWindowShell.
  void ShowInFront() override;
  void Hide() override;
  void Minimize() override;
  bool Visible() const override;
  bool Minimized() const override;
  WindowPlacement Placement() const override;
  QSize FrameSize() const override;
  void MoveTo(QPoint top_left) override;
  QString ActiveControl() const override;
  bool FocusControl(const QString& name) override;
  void Quit() override;

  // Where the window first appears: centred on the primary screen.
  static QPoint CentredPosition();
  // The placement of a window with this outer frame.
  static WindowPlacement PlacementOf(const QRect& frame, bool minimized);

  // The model granted the close: the program does not enter (or leaves) the
  // event loop.
  bool QuitRequested() const { return quit_requested_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* BuildButtons();
  // The page at this index, built now when it was not yet.
  void BuildPage(int index);
  // Selects the page at this index, built first.
  void ShowPage(int index);

  OptionsWindow& window_;
  QTabWidget* pages_ = nullptr;
  // Our own minimizing is the model's doing, not the user's.
  bool minimizing_ = false;
  bool quit_requested_ = false;
};

}  // namespace voxmere
