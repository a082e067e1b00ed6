// SPDX-License-Identifier: GPL-3.0-or-later
// The options window's creation and its showing as the event loop starts.
#include "app/app_log.h"
#include "app/options_window.h"
#include "platform/exception.h"
#include "speech/sapi5_requests.h"
#include "speech/voice_catalogue.h"

namespace voxmere {

namespace {

// Each "\n\r" is a line feed followed by a carriage return, as the Windows
// program has always written it.
const QString& NoEnginesMessage() {
  static const QString text = QStringLiteral(
      "Sorry, but there are no speech engines installed in your system.\n\r"
      "Please, install some speech engine and run Voxmere! again.\n\r"
      "Web page with speech engines list will be opened now.");
  return text;
}

const QString kAutostartSwitch = QStringLiteral("-autostart");

}  // namespace

void OptionsWindow::Initialize() {
  // The application's icon is the view's: nothing to set here.

  // An engine whose probe fails is simply not available.
  try {
    flags_.sapi4_available = !Sapi4().EngineNames().isEmpty();
    if (!flags_.sapi4_available) {
      qCWarning(AppLog, "espeak-ng (the SAPI 4 engine) is switched off: it lists no voices");
    }
  } catch (...) {
    qCWarning(AppLog, "espeak-ng (the SAPI 4 engine) is switched off: %s",
              qUtf8Printable(CurrentExceptionMessage()));
    flags_.sapi4_available = false;
  }
  flags_.sapi5_available = ProbeSapi5(Sapi5());
  if (!flags_.sapi5_available) {
    qCWarning(AppLog, "speech-dispatcher (the SAPI 5 engine) is switched off: its probe failed");
  }

  if (!flags_.sapi4_available && !flags_.sapi5_available) {
    platform_.messages.Error(NoEnginesMessage());
    OpenLinkOrHelp(platform_.links, platform_.help, paths_.addresses.speech_engines,
                   HelpTopic::kInstallingEngines, this);
    // Start-up goes on: with an empty voice list the settings load fails and
    // that failure ends the program.
    RequestEnd();
  }

  pages.SetActivePageIndex(kGeneral);
  LoadVoicesList(Sapi4(), Sapi5(), flags_.sapi5_available, default_voice.voices_list);
  Slots().LoadVoiceSlots();
  LoadSettings();
  tray_icon.SetIconVisible(true);

  // Only the switch exactly as the start-up entry writes it counts; the
  // program's own path is looked at too.
  for (const QString& argument : paths_.arguments) {
    if (argument == kAutostartSwitch) start_state_ = WindowState::kMinimized;
  }
  if (!flags_.first_run_at_start) start_state_ = WindowState::kMinimized;

  about.SetLinksBold();
}

void OptionsWindow::ShowAtStart() {
  if (end_requested_) return;
  if (start_state_ == WindowState::kNormal) {
    ShowMainWindow();
  } else {
    MinimizeApplication();
  }
}

void OptionsWindow::WindowShown() {
  // The first load (at creation) has just filled the window; every later
  // showing reloads, so that Cancel's edits are gone.
  if (!flags_.first_load) LoadSettings();
}

void OptionsWindow::RequestEnd() {
  end_requested_ = true;
  if (shell_ != nullptr) shell_->Quit();
}

}  // namespace voxmere
