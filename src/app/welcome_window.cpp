// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/welcome_window.h"

#include "app/options_window.h"
#include "settings/cfg_keys.h"

namespace voxmere {

const QString& WelcomeWindow::Title() {
  static const QString text = QStringLiteral("Welcome to Voxmere!");
  return text;
}

const QString& WelcomeWindow::Paragraph() {
  static const QString text = QStringLiteral(
      "Voxmere can read the selected text from any application. Just select desired text, press "
      "hot key, and enjoy! Make your documents, emails, web pages, books and thoughts sound! "
      "Configure volume, speed and pitch of speech. Create Voice Slots to use different hot keys "
      "for different voices! Thank you for trying Voxmere! I am sure, this program will become "
      "your best friend. Enjoy!");
  return text;
}

const QString& WelcomeWindow::ContinueText() {
  static const QString text = QStringLiteral("Continue");
  return text;
}

WelcomeWindow::WelcomeWindow(OptionsWindow& window, ShellFactory make_shell, QObject* parent)
    : QObject(parent), window_(window), make_shell_(std::move(make_shell)) {
  setObjectName(QStringLiteral("frmWelcome"));
  window_.AttachWelcome(this);
}

WelcomeWindow::~WelcomeWindow() { window_.AttachWelcome(nullptr); }

bool WelcomeWindow::Create() {
  if (!window_.Flags().show_welcome) return false;
  shell_ = make_shell_(*this);
  shell_->ShowModal();
  // Shown once per run: the view goes with its window.
  shell_.reset();
  CfgFile(window_.CfgPath()).WriteWelcomeDlg();
  window_.ShowMainWindow();
  window_.pages.SetActivePageIndex(OptionsWindow::kGeneral);
  return true;
}

void WelcomeWindow::Shown() {
  // The paragraph as shown, read as the reading hot key reads a selection;
  // a failure beeps and the window stays.
  window_.Reading().ReadTextWithDefaultVoice(Paragraph());
}

void WelcomeWindow::CloseRequested() {
  if (shell_ != nullptr) shell_->Close();
}

void WelcomeWindow::Hidden() {
  window_.Reading().StopReading();
  // The engines' end events would do this too, but later: the tray is idle
  // the moment the window goes.
  window_.tray_menu.stop_reading.SetEnabled(false);
  window_.Reading().AnimationTimer().stop();
  window_.tray_icon.SetPicture(TrayPicture::kIdleIcon);
}

void WelcomeWindow::CloseIfVisible() {
  if (Visible()) shell_->Close();
}

bool WelcomeWindow::Visible() const { return shell_ != nullptr && shell_->Visible(); }

}  // namespace voxmere
