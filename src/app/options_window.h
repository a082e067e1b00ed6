// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <memory>

#include "app/about_page.h"
#include "app/app_flags.h"
#include "app/app_platform.h"
#include "app/general_page.h"
#include "app/options_window_shell.h"
#include "app/reading_controller.h"
#include "app/tray_model.h"
#include "controls/page_control.h"
#include "pronunciation/pronunciation_page.h"
#include "pronunciation/pronunciation_page_actions.h"
#include "pronunciation/word_editor.h"
#include "reading/global_hot_key.h"
#include "settings/cfg_keys.h"
#include "slots/slot_editor.h"
#include "slots/slots_page.h"
#include "slots/voice_slot_store.h"
#include "speech/default_voice_page.h"
#include "speech/sapi4_voice.h"
#include "speech/sapi5_voice.h"

namespace voxmere {

class WelcomeWindow;

// The options window "Voxmere! Options": the main window's model and the
// owner of everything that lives for the whole run (engines, hot keys, tray,
// the reading controller, the slot and pronunciation tables). Its controls are
// the working copy of the settings.
class OptionsWindow : public QObject {
  Q_OBJECT

  // First in declaration order: the parts below are built on these.
  AppPlatform platform_;
  AppPaths paths_;
  AppFlags flags_;
  std::unique_ptr<Sapi4Voice> sapi4_;
  std::unique_ptr<Sapi5Voice> sapi5_;
  HotKeyOwner hot_key_owner_;

 public:
  enum Page { kGeneral = 0, kDefaultVoice = 1, kVoiceSlots = 2, kPronunciation = 3, kAbout = 4 };
  enum class WindowState { kNormal, kMinimized };

  static const QString& Caption();  // "Voxmere! Options"

  OptionsWindow(AppPlatform platform, AppPaths paths, QObject* parent = nullptr);
  // Runs the clean-up (again); harmless after an earlier one.
  ~OptionsWindow() override;

  // The real window; set before Initialize. Without one nothing is shown.
  void AttachShell(OptionsWindowShell* shell) { shell_ = shell; }
  // Forgets SHELL when it is the one attached (a window that goes).
  void DetachShell(const OptionsWindowShell* shell) {
    if (shell_ == shell) shell_ = nullptr;
  }
  // The welcome window, which Exit closes while it is visible.
  void AttachWelcome(WelcomeWindow* welcome) { welcome_ = welcome; }

  // --- Start-up (options_window_startup.cpp) ---
  // The creation handler: probes, voice list, slots, settings, tray icon,
  // command line, start state. An error escapes to the caller, which shows it
  // and ends the program.
  void Initialize();
  // The window's state after creation: kMinimized starts hidden in the tray.
  WindowState StartState() const { return start_state_; }
  // True once something asked the program to end (no engines, a clean-up
  // failure): the caller does not enter the event loop, or leaves it.
  bool EndRequested() const { return end_requested_; }
  // As the event loop starts: show the window, or minimize the application.
  void ShowAtStart();
  // Runs each time the window becomes visible: reloads cfg.ini unless the
  // first load has not happened yet.
  void WindowShown();

  // --- Settings (options_window_settings.cpp) ---
  void LoadSettings();
  // Writes cfg.ini in one save, tidied. False when the save stopped: a failed
  // write leaves the file as it was; with no default voice selected, the
  // values before the voice are saved.
  bool SaveSettings();

  // --- Show triggers and lifecycle (options_window_lifecycle.cpp) ---
  // ShowMainWindow: show in front, running WindowShown when it was hidden.
  void ShowMainWindow();
  // HideMainWindow.
  void HideMainWindow();
  // Minimize the application: into the tray while MinimizeToTray is on.
  void MinimizeApplication();
  void OptionsEntryClicked();
  void ConfigureSlotsEntryClicked();
  void AboutEntryClicked();
  void HelpEntryClicked();
  void WebsiteEntryClicked();
  // The Help button and F1: the topic of the page selected now (none on the
  // About page).
  void HelpClicked();
  void TrayIconDoubleClicked();
  // A single left click: the double click's work on hosts that report no
  // double clicks (StatusNotifierItem); nothing on an XEmbed tray.
  void TrayIconClicked();
  void OptionsKeyPressed();
  void PageChanged(int page);
  void AcceptClicked();  // OK
  void CancelClicked();  // Cancel
  // Every close request; true grants the close.
  bool MayClose();
  // The window's close box (and Alt+F4): the query, then the end when granted.
  void CloseRequest();
  void ExitEntryClicked();
  // The session manager asks whether the session may end; always true.
  bool SessionEndQueried();
  void CleanUp();
  // Shows an error that no handler caught in a plain message box.
  void ShowUnhandledError(const std::exception& error);
  // Runs a handler and hands whatever it throws to ShowUnhandledError: views
  // call every handler through this, so no exception reaches Qt's event loop.
  void Guard(const std::function<void()>& handler);

  // --- The window's parts, for views and tests ---
  AppFlags& Flags() { return flags_; }
  QString CfgPath() const;
  QString SlotsPath() const;
  QString WordsPath() const;

  PageControl pages{QStringLiteral("Pages"), 5};
  GeneralPage general;
  DefaultVoicePage default_voice;
  PronunciationPage pronunciation;
  WordEditor word_editor;
  PronunciationPageActions pronunciation_actions;
  AboutPage about;
  TrayIconModel tray_icon;
  TrayMenuModel tray_menu;

  Sapi4Voice& Sapi4() { return *sapi4_; }
  Sapi5Voice& Sapi5() { return *sapi5_; }
  GlobalHotKey& DefaultHotKey() { return default_hot_key_; }
  GlobalHotKey& StopHotKey() { return stop_hot_key_; }
  VoiceSlotStore& Slots() { return *slots_; }
  SlotsListModel& SlotsList() { return *slots_list_; }
  SlotsPage& VoiceSlotsPage() { return *slots_page_; }
  SlotEditor& VoiceSlotEditor() { return *slot_editor_; }
  ReadingController& Reading() { return *reading_; }

 private:
  // Placement restore of the first load and the placement step of a save.
  void RestorePlacement(const CfgFile& cfg);
  void SavePlacement(const CfgFile& cfg);
  // The three application hot keys take the fields' codes and are switched on.
  void ApplyMainHotKeys();
  // The three hot key fields take the codes stored in cfg.ini.
  void ReadMainHotKeys(const CfgFile& cfg);
  // The three application hot keys as stored in cfg.ini, grabbed before the
  // settings load (which takes the same codes again).
  void GrabStoredHotKeys();
  void RequestEnd();

  OptionsWindowShell* shell_ = nullptr;
  WelcomeWindow* welcome_ = nullptr;
  WindowState start_state_ = WindowState::kNormal;
  bool end_requested_ = false;
  // True while the session manager's question is being answered: a message
  // box then needs its leave first.
  bool answering_session_query_ = false;

  GlobalHotKey default_hot_key_;
  GlobalHotKey options_hot_key_;
  GlobalHotKey stop_hot_key_;
  std::unique_ptr<VoiceSlotStore> slots_;
  std::unique_ptr<SlotsListModel> slots_list_;
  std::unique_ptr<SlotsPage> slots_page_;
  std::unique_ptr<SlotEditor> slot_editor_;
  std::unique_ptr<ReadingController> reading_;
};

}  // namespace voxmere
