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
#include "reading/application_hot_key.h"
#include "settings/cfg_keys.h"
#include "slots/slots_page.h"
#include "slots/voice_slot_store.h"
#include "speech/default_voice_page.h"
#include "speech/m_speech.h"
#include "speech/sp_voice.h"

namespace voxmere {

// The options window "Voxmere! Options": the main window's model and the
// owner of everything that lives for the whole run (engines, hot keys, tray,
// the reading controller, the slot and pronunciation tables). Its controls are
// the working copy of the settings.
class TfrmMain : public QObject {
  Q_OBJECT

  // First in declaration order: the parts below are built on these.
  AppPlatform platform_;
  AppPaths paths_;
  AppFlags flags_;
  std::unique_ptr<TMSpeech> sapi4_;
  std::unique_ptr<TSpVoice> sapi5_;
  HotKeyOwner hot_key_owner_;

 public:
  enum Page { kGeneral = 0, kDefaultVoice = 1, kVoiceSlots = 2, kPronunciation = 3, kAbout = 4 };
  enum class WindowState { kNormal, kMinimized };

  static const QString& Caption();  // "Voxmere! Options"

  TfrmMain(AppPlatform platform, AppPaths paths, QObject* parent = nullptr);
  // FormDestroy: runs the clean-up (again).
  ~TfrmMain() override;

  // The real window; set before FormCreate. Without one nothing is shown.
  void AttachShell(OptionsWindowShell* shell) { shell_ = shell; }

  // --- Start-up (tfrm_main_startup.cpp) ---
  // The creation handler: probes, voice list, slots, settings, tray icon,
  // command line, start state. An error escapes to the caller, which shows it
  // and ends the program.
  void FormCreate();
  // The window's state after creation: kMinimized starts hidden in the tray.
  WindowState StartState() const { return start_state_; }
  // True once something asked the program to end (no engines, a clean-up
  // failure): the caller does not enter the event loop, or leaves it.
  bool EndRequested() const { return end_requested_; }
  // As the event loop starts: show the window, or minimize the application.
  void ShowAtStart();
  // Runs each time the window becomes visible: reloads cfg.ini unless the
  // first load has not happened yet.
  void FormShow();

  // --- Settings (tfrm_main_cfg.cpp) ---
  void LoadCfg();
  // Throws only for a TidyIniFile failure (shown as an unhandled error);
  // returns false when a silent step failed and the save stopped.
  bool SaveCfg();

  // --- Show triggers and lifecycle (tfrm_main_lifecycle.cpp) ---
  // ShowMainWindow: show in front, running FormShow when it was hidden.
  void ShowMainWindow();
  // HideMainWindow.
  void HideMainWindow();
  // Minimize the application: into the tray while MinimizeToTray is on.
  void ApplicationMinimize();
  void Options1Click();
  void Configurevoiceslots1Click();
  void About1Click();
  void Website1Click();
  void TrayIconDblClick();
  void OptionsHotKeyHotKey();
  void PagesChange(int page);
  void BitBtn1Click();  // OK
  void BitBtn2Click();  // Cancel
  // Every close request; true grants the close.
  bool FormCloseQuery();
  // The window's close box (and Alt+F4): the query, then the end when granted.
  void CloseRequest();
  void Exit1Click();
  // The session manager asks whether the session may end; always true.
  bool WMQueryEndSession();
  void BeforeCloseActions();
  // Shows an error that no handler caught in a plain message box.
  void AppEventsException(const std::exception& error);
  // Runs a handler and hands whatever it throws to AppEventsException: views
  // call every handler through this, so no exception reaches Qt's event loop.
  void Guard(const std::function<void()>& handler);

  // --- The window's parts, for views and tests ---
  AppFlags& Flags() { return flags_; }
  const AppPaths& Paths() const { return paths_; }
  QString CfgPath() const;
  QString SlotsPath() const;
  QString WordsPath() const;

  PageControl Pages{QStringLiteral("Pages"), 5};
  GeneralPage General;
  DefaultVoicePage DefaultVoice;
  PronunciationPage Pronunciation;
  AboutPage About;
  TrayIconModel TrayIcon;
  TrayMenuModel TrayMenu;

  TMSpeech& SpeechAPI4() { return *sapi4_; }
  TSpVoice& SpeechAPI5() { return *sapi5_; }
  HotKeyOwner& HotKeys() { return hot_key_owner_; }
  TJvApplicationHotKey& DefaultHotKey() { return default_hot_key_; }
  TJvApplicationHotKey& OptionsHotKey() { return options_hot_key_; }
  TJvApplicationHotKey& StopHotKey() { return stop_hot_key_; }
  VoiceSlotStore& Slots() { return *slots_; }
  SlotsListModel& SlotsList() { return *slots_list_; }
  ReadingController& Reading() { return *reading_; }

 private:
  // Placement restore of the first load and the placement step of a save.
  void RestorePlacement(const CfgFile& cfg);
  void SavePlacement(const CfgFile& cfg);
  // The three application hot keys take the fields' codes and are switched on.
  void ApplyMainHotKeys();
  void RequestEnd();

  OptionsWindowShell* shell_ = nullptr;
  WindowState start_state_ = WindowState::kNormal;
  bool end_requested_ = false;
  // True while the session manager's question is being answered: a message
  // box then needs its leave first.
  bool answering_session_query_ = false;

  TJvApplicationHotKey default_hot_key_;
  TJvApplicationHotKey options_hot_key_;
  TJvApplicationHotKey stop_hot_key_;
  std::unique_ptr<VoiceSlotStore> slots_;
  std::unique_ptr<SlotsListModel> slots_list_;
  std::unique_ptr<ReadingController> reading_;
};

}  // namespace voxmere
