// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/options_window.h"
#include "fakes/fake_capture_log.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_desktop_services.h"
#include "fakes/fake_event_pump.h"
#include "fakes/fake_focus_copy.h"
#include "fakes/fake_hot_key_registrar.h"
#include "fakes/fake_key_injector.h"
#include "fakes/fake_key_names.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_options_window_shell.h"
#include "fakes/fake_session_end.h"
#include "fakes/fake_speech_voice.h"
#include "fakes/fake_startup_entry.h"
#include "fakes/fake_tts_engine.h"
#include "settings/cfg_keys.h"
#include "support/test_application.h"

namespace voxmere {

// Every platform service of the options window as a fake, a settings folder
// of its own, the program's paths and a window shell. Tests change engines,
// arguments and files first, then Build() or Start() the window.
struct AppFixture {
  AppFixture() {
    // Timers and queued signals need the application.
    test_support::TestApplication();
    sapi4.AddMode(QStringLiteral("Adult Female #1"), QStringLiteral("Mary"));
    sapi4.AddMode(QStringLiteral("Adult Male #1"), QStringLiteral("Mike"));
    sapi5.Instance()->SetVoices({QStringLiteral("Microsoft Anna"), QStringLiteral("Zira")});
    paths.program_path = QStringLiteral("/opt/voxmere/voxmere");
    paths.settings_folder = folder.path();
    paths.arguments = QStringList{paths.program_path};
    // As built by default: no addresses, the links open the help.
    paths.addresses = ProjectLinks{};
  }
  // The window goes before the fakes it uses.
  ~AppFixture() { window.reset(); }

  AppPlatform Platform() {
    return AppPlatform{hot_keys,     key_names, sapi4,       sapi5,    clipboard, focus_copy,
                       key_injector, pump,      messages,    messages, links,     screen,
                       startup,      trace,     session_end, help};
  }

  // A window on the fakes with the shell attached, not yet created.
  std::unique_ptr<OptionsWindow> Build() {
    auto built = std::make_unique<OptionsWindow>(Platform(), paths);
    built->AttachShell(&shell);
    return built;
  }
  // Builds `window`, runs its creation and the start of the event loop.
  OptionsWindow& Start() {
    window = Build();
    window->Initialize();
    window->ShowAtStart();
    return *window;
  }

  QString CfgPath() const { return folder.filePath(QStringLiteral("cfg.ini")); }
  CfgFile Cfg() const { return CfgFile(CfgPath()); }
  // cfg.ini as given; "\n" becomes CR LF as the program writes it.
  void WriteCfg(QString text) const {
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QFile file(CfgPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text.toUtf8());
  }
  // cfg.ini's text with CR LF read as "\n"; empty when there is no file.
  QString ReadCfg() const {
    QFile file(CfgPath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  }

  CaptureLog capture_log;
  FakeHotKeyRegistrar hot_keys;
  FakeKeyNames key_names;
  // Two SAPI 4 modes ("Mary", "Mike") and two SAPI 5 voices.
  FakeTtsObjectFactory sapi4;
  FakeSpeechVoiceConnector sapi5;
  FakeClipboard clipboard{capture_log};
  FakeFocusCopy focus_copy{capture_log};
  FakeKeyInjector key_injector{capture_log};
  FakeEventPump pump{capture_log};
  FakeMessageBoxes messages;  // also the beeper
  FakeWebLinks links;
  FakeScreenFacts screen;
  FakeStartupEntry startup;
  FakeTraceFile trace;
  FakeSessionEnd session_end;
  FakeHelpViewer help;
  QTemporaryDir folder;
  AppPaths paths;
  FakeOptionsWindowShell shell;
  std::unique_ptr<OptionsWindow> window;
};

}  // namespace voxmere
