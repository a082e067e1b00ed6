// SPDX-License-Identifier: GPL-3.0-or-later
// The options window's creation and its showing as the event loop starts.
#include "app/app_log.h"
#include "app/options_window.h"
#include "platform/exception.h"
#include "settings/save_leftovers.h"
#include "speech/sapi5_requests.h"
#include "speech/voice_catalogue.h"

namespace voxmere {

namespace {

// Each "\n\r" is a line feed followed by a carriage return, as the Windows
// program has always written it. The second line says what was missing.
QString NoEnginesMessage(const QString& problems) {
  return QStringLiteral("Sorry, but there are no speech engines installed in your system.\n\r") +
         problems +
         QStringLiteral(
             "\n\rPlease, install some speech engine and run Voxmere! again.\n\r"
             "Web page with speech engines list will be opened now.");
}

const QString kAutostartSwitch = QStringLiteral("-autostart");

// Longer than speech-dispatcher's own bound on the listing: the probe after
// the wait reports a daemon that never answers.
constexpr int kVoiceListingWaitMs = 10000;

}  // namespace

void OptionsWindow::Initialize() {
  // The application's icon is the view's: nothing to set here.
  // Clicks on the icon and other processes' requests wait until the
  // start-up is over.
  tray_icon.SetAnswering(false);

  // An engine whose probe fails is simply not available.
  QString sapi4_problem;
  try {
    flags_.sapi4_available = !Sapi4().EngineNames().isEmpty();
    // espeak-ng lists no voice when no audio server answers.
    if (!flags_.sapi4_available) {
      sapi4_problem = QStringLiteral("no voice it can play (is an audio server running?)");
    }
  } catch (...) {
    sapi4_problem = CurrentExceptionMessage();
    flags_.sapi4_available = false;
  }
  if (!flags_.sapi4_available) {
    qCWarning(AppLog, "espeak-ng (the SAPI 4 engine) is switched off: %s",
              qUtf8Printable(sapi4_problem));
  }
  // speech-dispatcher may still be listing its voices, and it answers no
  // one meanwhile. With espeak-ng there the no-engines message cannot come,
  // so the tray icon shows now. The slots and the hot keys need no voice
  // list: they are read and grabbed first, so that a key pressed or a click
  // made during the wait is held until the start-up is over, not lost. The
  // voices and the settings follow as before.
  const bool early_icon = flags_.sapi4_available && !platform_.sapi5_connector.VoicesReady();
  if (early_icon) {
    RemoveSaveLeftovers(paths_.settings_folder);
    Slots().LoadVoiceSlots();
    GrabStoredHotKeys();
    tray_icon.SetIconVisible(true);
    platform_.event_pump.WaitWithoutInput(
        kVoiceListingWaitMs, [this] { return platform_.sapi5_connector.VoicesReady(); });
  }
  QString sapi5_problem;
  flags_.sapi5_available = ProbeSapi5(Sapi5(), &sapi5_problem);
  if (!flags_.sapi5_available) {
    qCWarning(AppLog, "speech-dispatcher (the SAPI 5 engine) is switched off: %s",
              qUtf8Printable(sapi5_problem));
  }

  if (!flags_.sapi4_available && !flags_.sapi5_available) {
    platform_.messages.Error(NoEnginesMessage(
        QStringLiteral("espeak-ng: %1; speech-dispatcher: %2").arg(sapi4_problem, sapi5_problem)));
    OpenLinkOrHelp(platform_.links, platform_.help, paths_.addresses.speech_engines,
                   HelpTopic::kInstallingEngines, this);
    // The help's topic stays until the user has read it.
    platform_.help.WaitUntilClosed();
    // The Windows program went on here, failed to load the settings with an
    // empty voice list and showed that as a second error. Nothing more is
    // done: the caller ends the program after the clean-up.
    RequestEnd();
    return;
  }

  pages.SetActivePageIndex(kGeneral);
  LoadVoicesList(Sapi4(), Sapi5(), flags_.sapi5_available, default_voice.voices_list);
  if (!early_icon) {
    RemoveSaveLeftovers(paths_.settings_folder);
    Slots().LoadVoiceSlots();
  }
  LoadSettings();
  tray_icon.SetAnswering(true);
  tray_icon.SetIconVisible(true);

  // Only the switch exactly as the start-up entry writes it counts; the
  // program's own path is looked at too.
  for (const QString& argument : paths_.arguments) {
    if (argument == kAutostartSwitch) start_state_ = WindowState::kMinimized;
  }
  if (!flags_.first_run_at_start) start_state_ = WindowState::kMinimized;

  general.SetWaylandSession(paths_.wayland_session);
  if (paths_.wayland_session) {
    qCWarning(AppLog,
              "A Wayland session: the hot keys work only in X11 applications. For every "
              "application, bind \"voxmere --read\", \"voxmere --stop\", \"voxmere "
              "--read-slot N\" and \"voxmere --options\" in the desktop's keyboard settings.");
  }

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
