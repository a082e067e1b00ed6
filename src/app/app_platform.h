// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "app/project_links.h"
#include "platform/clipboard.h"
#include "platform/event_pump.h"
#include "platform/focus_copy.h"
#include "platform/help_viewer.h"
#include "platform/hot_key_registrar.h"
#include "platform/key_injector.h"
#include "platform/key_names.h"
#include "platform/message_boxes.h"
#include "platform/screen_facts.h"
#include "platform/session_end.h"
#include "platform/session_selection.h"
#include "platform/speech_voice.h"
#include "platform/startup_entry.h"
#include "platform/trace_file.h"
#include "platform/tts_engine.h"
#include "platform/web_links.h"

namespace voxmere {

// Everything of the outside world the options window's model uses. main()
// picks the real implementations; tests hand in fakes.
struct AppPlatform {
  HotKeyRegistrar& hot_keys;
  const KeyNames& key_names;
  TtsObjectFactory& sapi4_factory;
  SpeechVoiceConnector& sapi5_connector;
  Clipboard& clipboard;
  FocusCopy& focus_copy;
  KeyInjector& key_injector;
  EventPump& event_pump;
  MessageBoxes& messages;
  Beeper& beeper;
  WebLinks& links;
  const ScreenFacts& screen;
  StartupEntry& startup_entry;
  TraceFile& trace;
  SessionEnd& session_end;
  HelpViewer& help;
  // What is highlighted in a Wayland session, for readings asked for through
  // the remote control there; null elsewhere.
  SessionSelection* session_selection = nullptr;
};

// Where the program and its settings are, how and in which session it was
// started, and where its links lead.
struct AppPaths {
  // Full path of the program file (the start-up entry runs it).
  QString program_path;
  // The folder of cfg.ini, slots.ini and words.ini.
  QString settings_folder;
  // The command line, the program's own path first.
  QStringList arguments;
  // The desktop session is a Wayland one (the program's windows and keys
  // then go through XWayland).
  bool wayland_session = false;
  // Where the links of the About page and the tray menu lead.
  ProjectLinks addresses = ProjectLinks::Built();
};

}  // namespace voxmere
