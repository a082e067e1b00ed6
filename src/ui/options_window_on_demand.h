// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>

#include "app/options_window_shell.h"

namespace voxmere {

class KeyEventConversion;
class OptionsWindow;
class OptionsWindowView;

// The options window's shell in the tray program. The window is built when
// it is shown or minimized (or asked for by View), not at start-up, with the
// page it opens on (the others when first selected), and goes again when it
// is hidden: a program that sits in the
// tray does not carry its widgets, pictures and backing store. Without a
// window it answers the model as the hidden window would, from the position,
// frame and focus it had (or the model gave it), and hands them to the
// window when it is built again.
class OptionsWindowOnDemand : public OptionsWindowShell {
 public:
  OptionsWindowOnDemand(OptionsWindow& window, const KeyEventConversion& keys);
  ~OptionsWindowOnDemand() override;
  OptionsWindowOnDemand(const OptionsWindowOnDemand&) = delete;
  OptionsWindowOnDemand& operator=(const OptionsWindowOnDemand&) = delete;

  // The window, built now when it was not yet.
  OptionsWindowView& View();
  bool Built() const { return view_ != nullptr; }
  // The model granted the close: the program does not enter (or leaves) the
  // event loop.
  bool QuitRequested() const;

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

 private:
  OptionsWindow& window_;
  const KeyEventConversion& keys_;
  std::unique_ptr<OptionsWindowView> view_;
  // A hidden window whose deletion is still to come from the event loop.
  QPointer<OptionsWindowView> going_;
  // What the model asked of the window before it was built, or what the
  // window had when it went.
  std::optional<QPoint> position_;
  std::optional<QSize> frame_size_;
  QString focus_;
  bool quit_requested_ = false;
};

}  // namespace voxmere
