// SPDX-License-Identifier: GPL-3.0-or-later
// The options window's life: showing it on a page, OK, Cancel, closing into
// the tray, Exit, the end of the desktop session and the clean-up.
#include "app/app_log.h"
#include "app/options_window.h"
#include "app/welcome_window.h"
#include "platform/exception.h"

namespace voxmere {

namespace {

// Names the click that restores the window on the tray in use.
QString CloseToTrayMessage(TrayProtocol protocol) {
  const QString click = protocol == TrayProtocol::kStatusNotifierItem
                            ? QStringLiteral("click")
                            : QStringLiteral("double click");
  return QStringLiteral(
             "Voxmere will now be minimized into the system tray. To restore this window %1 on "
             "program's icon in system tray.")
      .arg(click);
}

}  // namespace

void OptionsWindow::ShowMainWindow() {
  if (shell_ == nullptr) return;
  const bool was_hidden = !shell_->Visible();
  shell_->ShowInFront();
  // Becoming visible runs the show handler: the window then shows what
  // cfg.ini holds. An already visible window keeps its edits.
  if (was_hidden) WindowShown();
}

void OptionsWindow::HideMainWindow() {
  if (shell_ != nullptr) shell_->Hide();
}

void OptionsWindow::MinimizeApplication() {
  if (tray_icon.MinimizeToTray()) {
    HideMainWindow();
    tray_icon.SetIconVisible(true);
  } else if (shell_ != nullptr) {
    shell_->Minimize();
  }
}

void OptionsWindow::OptionsEntryClicked() {
  ShowMainWindow();
  pages.SetActivePageIndex(kGeneral);
}

void OptionsWindow::OptionsKeyPressed() { OptionsEntryClicked(); }

void OptionsWindow::TrayIconDoubleClicked() {
  ShowMainWindow();
  // Then the menu's default entry, "Options...": a double click always ends
  // on the General page.
  if (MenuEntry* entry = tray_menu.DefaultEntry()) entry->Click();
}

void OptionsWindow::TrayIconClicked() {
  if (tray_icon.Protocol() == TrayProtocol::kStatusNotifierItem) TrayIconDoubleClicked();
}

void OptionsWindow::ConfigureSlotsEntryClicked() {
  ShowMainWindow();
  pages.SetActivePageIndex(kVoiceSlots);
}

void OptionsWindow::AboutEntryClicked() {
  ShowMainWindow();
  pages.SetActivePageIndex(kAbout);
}

void OptionsWindow::HelpEntryClicked() { platform_.help.ShowTopic(HelpTopic::kIntroduction, this); }

void OptionsWindow::WebsiteEntryClicked() {
  OpenLinkOrHelp(platform_.links, platform_.help, paths_.addresses.homepage,
                 HelpTopic::kIntroduction, this);
}

void OptionsWindow::HelpClicked() {
  switch (pages.ActivePageIndex()) {
    case kGeneral:
      platform_.help.ShowTopic(HelpTopic::kConfiguringKeys, this);
      break;
    case kDefaultVoice:
      platform_.help.ShowTopic(HelpTopic::kReadingText, this);
      break;
    case kVoiceSlots:
      platform_.help.ShowTopic(HelpTopic::kVoiceSlots, this);
      break;
    case kPronunciation:
      platform_.help.ShowTopic(HelpTopic::kPronunciation, this);
      break;
    default:
      break;
  }
}

void OptionsWindow::PageChanged(int /*page*/) { default_voice.PageChanged(); }

void OptionsWindow::AcceptClicked() {
  // A failed save leaves the window open and the hot keys as they were.
  if (!SaveSettings()) return;
  default_hot_key_.SetHotKey(general.reading_key_field.Shortcut());
  options_hot_key_.SetHotKey(general.options_key_field.Shortcut());
  stop_hot_key_.SetHotKey(general.stop_key_field.Shortcut());
  MinimizeApplication();
}

void OptionsWindow::CancelClicked() {
  // The edits stay until the next showing reloads cfg.ini.
  MinimizeApplication();
}

bool OptionsWindow::MayClose() {
  platform_.trace.WriteTrace(QStringLiteral("FormCloseQuery"));
  if (flags_.session_ending) return true;
  if (!SaveSettings()) return false;
  if (flags_.exit_requested) return true;
  if (!general.minimize_to_tray.Checked()) return true;

  const CfgFile cfg(CfgPath());
  if (!cfg.ReadBool(kCloseMsg)) {
    // While the session manager asks, a box needs its leave. Without it the
    // message stays unshown, and so unmarked, for a later close.
    if (!answering_session_query_ || platform_.session_end.RequestInteraction()) {
      platform_.messages.Information(CloseToTrayMessage(tray_icon.Protocol()));
      cfg.WriteCloseMsg();
    }
  }
  MinimizeApplication();
  return false;
}

void OptionsWindow::CloseRequest() {
  if (MayClose() && shell_ != nullptr) shell_->Quit();
}

void OptionsWindow::ExitEntryClicked() {
  if (welcome_ != nullptr) welcome_->CloseIfVisible();
  flags_.exit_requested = true;
  Reading().StopReading();
  CloseRequest();
}

bool OptionsWindow::SessionEndQueried() {
  platform_.trace.WriteTrace(QStringLiteral("WMQueryEndSession"));
  answering_session_query_ = true;
  try {
    // Saves the settings; its answer does not matter, the session ends.
    MayClose();
  } catch (const std::exception& error) {
    // A failed tidy-up of cfg.ini: shown when the session lets us, and the
    // clean-up runs all the same.
    qCWarning(AppLog, "Saving the settings at the end of the session failed: %s",
              qUtf8Printable(CurrentExceptionMessage()));
    if (platform_.session_end.RequestInteraction()) ShowUnhandledError(error);
  } catch (...) {
    qCWarning(AppLog, "Saving the settings at the end of the session failed: %s",
              qUtf8Printable(CurrentExceptionMessage()));
  }
  answering_session_query_ = false;
  CleanUp();
  flags_.session_ending = true;
  return true;
}

void OptionsWindow::CleanUp() {
  platform_.trace.WriteTrace(QStringLiteral("BeforeCloseActions"));
  platform_.help.CloseAll();
  try {
    tray_icon.SetMinimizeToTray(false);
    tray_icon.SetIconVisible(false);
    if (flags_.sapi5_available) Sapi5().Disconnect();
    default_hot_key_.SetActive(false);
    options_hot_key_.SetActive(false);
    stop_hot_key_.SetActive(false);
    // Every "SlotHotKey_" component: switched off, then destroyed.
    if (slots_ != nullptr) slots_->ReleaseHotKeys();
  } catch (...) {
    qCWarning(AppLog, "The clean-up failed, the program ends: %s",
              qUtf8Printable(CurrentExceptionMessage()));
    RequestEnd();
  }
}

}  // namespace voxmere
