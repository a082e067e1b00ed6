// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "app/welcome_window_shell.h"

namespace voxmere {

class OptionsWindow;

// The welcome window: on every start until it has been shown once, it greets
// the user, reads its paragraph aloud with the default voice and, when
// dismissed, opens the options window on the General page. Its view is made
// only when it shows.
class WelcomeWindow : public QObject {
  Q_OBJECT

 public:
  using ShellFactory = std::function<std::unique_ptr<WelcomeWindowShell>(WelcomeWindow&)>;

  static const QString& Title();      // "Welcome to Voxmere!"
  static const QString& Paragraph();  // the text shown and read aloud
  static const QString& ContinueText();

  // Registers itself with the options window, whose Exit entry closes it.
  WelcomeWindow(OptionsWindow& window, ShellFactory make_shell, QObject* parent = nullptr);
  ~WelcomeWindow() override;

  // The creation: when the settings load asked for the welcome, shows the
  // window and waits until it is closed, records in cfg.ini that it was
  // shown, then shows the options window on the General page (even after
  // -autostart). Returns whether it showed. Throws when cfg.ini cannot be
  // written: the caller shows the error and ends the program.
  bool Create();

  // The view's handlers (called through the options window's Guard).
  // The window became visible: reads the paragraph aloud.
  void Shown();
  // Esc and "Continue".
  void CloseRequested();
  // The window went away: the reading stops at once, the tray goes idle.
  void Hidden();

  // The tray's Exit: closes the window when it is visible.
  void CloseIfVisible();
  bool Visible() const;

  OptionsWindow& Window() { return window_; }

 private:
  OptionsWindow& window_;
  ShellFactory make_shell_;
  std::unique_ptr<WelcomeWindowShell> shell_;
};

}  // namespace voxmere
