// The options window's life: showing it on a page, OK, Cancel, closing into
// the tray, Exit, the end of the desktop session and the clean-up.
#include "app/tfrm_main.h"
#include "platform/exception.h"

namespace voxmere {

namespace {

const QString& CloseToTrayMessage() {
  static const QString text = QStringLiteral(
      "Voxmere will now be minimized into the system tray. To restore this window double click "
      "on program's icon in system tray.");
  return text;
}

}  // namespace

void TfrmMain::ShowMainWindow() {
  if (shell_ == nullptr) return;
  const bool was_hidden = !shell_->Visible();
  shell_->ShowInFront();
  // Becoming visible runs the show handler: the window then shows what
  // cfg.ini holds. An already visible window keeps its edits.
  if (was_hidden) FormShow();
}

void TfrmMain::HideMainWindow() {
  if (shell_ != nullptr) shell_->Hide();
}

void TfrmMain::ApplicationMinimize() {
  if (TrayIcon.MinimizeToTray()) {
    HideMainWindow();
    TrayIcon.SetIconVisible(true);
  } else if (shell_ != nullptr) {
    shell_->Minimize();
  }
}

void TfrmMain::Options1Click() {
  ShowMainWindow();
  Pages.SetActivePageIndex(kGeneral);
}

void TfrmMain::OptionsHotKeyHotKey() { Options1Click(); }

void TfrmMain::TrayIconDblClick() {
  ShowMainWindow();
  // Then the menu's default entry, "Options...": a double click always ends
  // on the General page.
  if (MenuEntry* entry = TrayMenu.DefaultEntry()) entry->Click();
}

void TfrmMain::Configurevoiceslots1Click() {
  ShowMainWindow();
  Pages.SetActivePageIndex(kVoiceSlots);
}

void TfrmMain::About1Click() {
  ShowMainWindow();
  Pages.SetActivePageIndex(kAbout);
}

void TfrmMain::Website1Click() { platform_.links.Open(QString::fromLatin1(kMakerWebSite)); }

void TfrmMain::PagesChange(int /*page*/) { DefaultVoice.PagesChange(); }

void TfrmMain::BitBtn1Click() {
  // A failed save leaves the window open and the hot keys as they were.
  if (!SaveCfg()) return;
  default_hot_key_.SetHotKey(General.Reading_HotKey.Shortcut());
  options_hot_key_.SetHotKey(General.Options_HotKey.Shortcut());
  stop_hot_key_.SetHotKey(General.Stop_HotKey.Shortcut());
  ApplicationMinimize();
}

void TfrmMain::BitBtn2Click() {
  // The edits stay until the next showing reloads cfg.ini.
  ApplicationMinimize();
}

bool TfrmMain::FormCloseQuery() {
  platform_.trace.WriteTrace(QStringLiteral("FormCloseQuery"));
  if (flags_.SessionEnding) return true;
  if (!SaveCfg()) return false;
  if (flags_.ExitRequested) return true;
  if (!General.MinimizeToTray_CheckBox.Checked()) return true;

  const CfgFile cfg(CfgPath());
  if (!cfg.ReadBool(kCloseMsg)) {
    // While the session manager asks, a box needs its leave. Without it the
    // message stays unshown, and so unmarked, for a later close.
    if (!answering_session_query_ || platform_.session_end.RequestInteraction()) {
      platform_.messages.Information(CloseToTrayMessage());
      cfg.WriteCloseMsg();
    }
  }
  ApplicationMinimize();
  return false;
}

void TfrmMain::CloseRequest() {
  if (FormCloseQuery() && shell_ != nullptr) shell_->Quit();
}

void TfrmMain::Exit1Click() {
  flags_.ExitRequested = true;
  Reading().Stopreading1Click();
  CloseRequest();
}

bool TfrmMain::WMQueryEndSession() {
  platform_.trace.WriteTrace(QStringLiteral("WMQueryEndSession"));
  answering_session_query_ = true;
  try {
    // Saves the settings; its answer does not matter, the session ends.
    FormCloseQuery();
  } catch (const std::exception& error) {
    // A failed tidy-up of cfg.ini: shown when the session lets us, and the
    // clean-up runs all the same.
    if (platform_.session_end.RequestInteraction()) AppEventsException(error);
  } catch (...) {
  }
  answering_session_query_ = false;
  BeforeCloseActions();
  flags_.SessionEnding = true;
  return true;
}

void TfrmMain::BeforeCloseActions() {
  platform_.trace.WriteTrace(QStringLiteral("BeforeCloseActions"));
  try {
    TrayIcon.SetMinimizeToTray(false);
    TrayIcon.SetIconVisible(false);
    if (flags_.SAPI5Available) SpeechAPI5().Disconnect();
    default_hot_key_.SetActive(false);
    options_hot_key_.SetActive(false);
    stop_hot_key_.SetActive(false);
    // Every "SlotHotKey_" component: switched off, then destroyed.
    if (slots_ != nullptr) slots_->ReleaseHotKeys();
  } catch (...) {
    RequestEnd();
  }
}

}  // namespace voxmere
