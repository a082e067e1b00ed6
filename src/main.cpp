// SPDX-License-Identifier: GPL-3.0-or-later
// Voxmere: reads the selected text of any application aloud on a hot key.
// The composition root: picks the platform's implementations, builds the
// options window and its views, and runs the event loop.
#include <xcb/xcb.h>

#include <malloc.h>
#include <QByteArray>
#include <QCoreApplication>
#include <QScopeGuard>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include "app/options_window.h"
#include "app/remote_control.h"
#include "app/welcome_window.h"
#include "command_line_call.h"
#include "platform/dbus/dbus_remote_control_service.h"
#include "platform/desktop/canberra_warning_sound.h"
#include "platform/desktop/desktop_web_links.h"
#include "platform/desktop/lock_file_single_instance.h"
#include "platform/desktop/qt_message_boxes.h"
#include "platform/desktop/qt_screen_facts.h"
#include "platform/desktop/qt_session_end.h"
#include "platform/desktop/xdg_autostart_entry.h"
#include "platform/desktop/xdg_trace_file.h"
#include "platform/espeak/espeak_tts_factory.h"
#include "platform/help/window_help_viewer.h"
#include "platform/speechd/speechd_voice_connector.h"
#include "platform/wayland/wayland_session_selection.h"
#include "platform/x11/clipboard_x11.h"
#include "platform/x11/event_pump_qt.h"
#include "platform/x11/focus_copy_qt.h"
#include "platform/x11/hot_key_registrar_x11.h"
#include "platform/x11/key_event_conversion_x11.h"
#include "platform/x11/key_injector_x11.h"
#include "platform/x11/key_names_x11.h"
#include "settings/settings_folder.h"
#include "ui/icons.h"
#include "ui/options_window_on_demand.h"
#include "ui/options_window_view.h"
#include "ui/tray_icon_view.h"
#include "ui/voxmere_application.h"
#include "ui/welcome_window_view.h"

namespace voxmere {
namespace {

constexpr int kExitFailure = 1;

int Fail(const char* message) {
  std::fprintf(stderr, "voxmere: %s\n", message);
  return kExitFailure;
}

// Hot keys, capture and key injection are X11's: the program runs on an X
// server, under XWayland in a Wayland session. Returns the reason when there
// is none to run on. Another Qt platform chosen on purpose (QT_QPA_PLATFORM,
// e.g. "offscreen") is left alone.
std::optional<QByteArray> CheckDisplay() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const QByteArray display = qgetenv("DISPLAY");
  if (platform.isEmpty() && !qgetenv("WAYLAND_DISPLAY").isEmpty() && !display.isEmpty()) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  } else if (!platform.isEmpty() && !platform.startsWith("xcb")) {
    return std::nullopt;
  }
  if (display.isEmpty()) {
    return QByteArray(
        "no X server found (DISPLAY is not set); Voxmere needs an X11 session or XWayland.");
  }
  // Qt aborts when it cannot connect; find out first and say why.
  xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
  const bool connected = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  if (!connected) {
    return "cannot connect to the X server " + display +
           "; Voxmere needs an X11 session or XWayland.";
  }
  return std::nullopt;
}

int Run(int argc, char** argv) {
  // voxmere --read and the like ask the running copy and end: first of all.
  if (const std::optional<int> status = RunCommandLineCall(argc, argv)) return *status;
  if (const std::optional<QByteArray> reason = CheckDisplay()) return Fail(reason->constData());

  // One copy per user, decided before any window exists.
  LockFileSingleInstance instance;
  const SingleInstance::Result claim = instance.Claim();
  // speech-dispatcher takes a quarter of a second to list its voices: it
  // does so while the application and its first engine start.
  SpeechdVoiceConnector sapi5;
  if (claim != SingleInstance::Result::kAlreadyRunning) sapi5.PrefetchVoices();

  VoxmereApplication app(argc, argv);
  // No application display name: Qt 6.4 on X11 appends it to every window's
  // title (" — Voxmere!"), and tray hosts and notifications are given the
  // application name anyway.
  QCoreApplication::setApplicationName(QStringLiteral("voxmere"));
  QGuiApplication::setDesktopFileName(QStringLiteral("voxmere"));
  QGuiApplication::setQuitOnLastWindowClosed(false);
  QGuiApplication::setWindowIcon(IdleIcon());

  QtMessageBoxes messages;
  if (claim == SingleInstance::Result::kAlreadyRunning) {
    messages.Information(QStringLiteral("Voxmere! is already running now."));
    return 0;
  }

  // The platform outlives the window's model, which outlives its views: the
  // engines' threads end before the application object goes.
  X11HotKeyRegistrar hot_keys;
  X11KeyNames key_names;
  X11KeyEventConversion key_conversion;
  EspeakTtsFactory sapi4;
  X11Clipboard clipboard;
  QtFocusCopy focus_copy;
  X11KeyInjector key_injector;
  QtEventPump pump;
  // The sound theme's warning sound; the X bell when it cannot be played.
  CanberraWarningSound beeper(messages, "Voxmere!", "voxmere");
  DesktopWebLinks links;
  QtScreenFacts screen;
  XdgAutostartEntry startup_entry;
  XdgTraceFile trace;
  QtSessionEnd session_end(&app);
  WindowHelpViewer help(messages, ProjectLinks::Built().SupportContact(),
                        QCoreApplication::applicationDirPath());
  const bool wayland_session = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  // In a Wayland session the remote control's readings take what is
  // highlighted there; the hot keys keep to X11's capture.
  WaylandSessionSelection wayland_selection;
  const AppPlatform platform{hot_keys,
                             key_names,
                             sapi4,
                             sapi5,
                             clipboard,
                             focus_copy,
                             key_injector,
                             pump,
                             messages,
                             beeper,
                             links,
                             screen,
                             startup_entry,
                             trace,
                             session_end,
                             help,
                             wayland_session ? &wayland_selection : nullptr};
  const AppPaths paths{QCoreApplication::applicationFilePath(),
                       SettingsFolder(QCoreApplication::applicationDirPath()),
                       QCoreApplication::arguments(), wayland_session};

  OptionsWindow window(platform, paths);
  app.SetErrorHandler([&window](const std::exception& error) { window.ShowUnhandledError(error); });
  const auto forget_handler = qScopeGuard([&app] { app.SetErrorHandler(nullptr); });
  // The window's widgets are built when it first shows.
  OptionsWindowOnDemand view(window, key_conversion);
  TrayIconView tray(window);
  // Other processes may ask too (voxmere --read, ...): from the moment the
  // tray icon can show, as its requests wait for the start-up like clicks.
  DBusRemoteControlService remote_service;
  RemoteControl remote(window, remote_service);
  remote.Start();

  try {
    window.Initialize();
  } catch (const std::exception& error) {
    // The window cannot be made: the message, then the clean-up as the
    // half-built window goes, and the end.
    window.ShowUnhandledError(error);
    return kExitFailure;
  }
  if (window.EndRequested()) return kExitFailure;
  // The welcome window's view is made only when it shows.
  WelcomeWindow welcome(window, [&view](WelcomeWindow& model) {
    return std::make_unique<WelcomeWindowView>(model, view.View());
  });
  bool welcomed = false;
  try {
    welcomed = welcome.Create();
  } catch (const std::exception& error) {
    // As a failure of the options window's creation: shown, then the end.
    window.ShowUnhandledError(error);
    return kExitFailure;
  }
  // The welcome has shown the window already.
  if (!welcomed) window.Guard([&window] { window.ShowAtStart(); });
  if (view.QuitRequested() || window.EndRequested())
    return window.EndRequested() ? kExitFailure : 0;
  // The start-up's scratch memory (the voice listing's thousands of lines,
  // parsed on a thread of its own) goes back to the system: the program may
  // sit in the tray for weeks.
  malloc_trim(0);
  const int status = QCoreApplication::exec();
  return window.EndRequested() ? kExitFailure : status;
}

}  // namespace
}  // namespace voxmere

int main(int argc, char** argv) { return voxmere::Run(argc, argv); }
