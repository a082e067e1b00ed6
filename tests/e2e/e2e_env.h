// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/event_wait.h"
#include "support/wait_until.h"

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What the end-to-end scenarios drive from outside, as a user's desktop
// would: programs started as child processes, X windows found and clicked
// with xdotool and described by xwininfo, the clipboard read with xclip, the
// screen photographed.
namespace voxmere::e2e {

// Runs the event loop until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 20000) {
  return test_support::WaitUntil(condition, std::chrono::milliseconds(timeout_ms));
}

using test_support::RunResult;

// Runs a program to its end with the event loop running meanwhile.
inline RunResult Run(const QString& program, const QStringList& arguments, int timeout_ms = 10000) {
  return test_support::RunProcess(program, arguments, timeout_ms);
}

// xdotool with the arguments; true when it succeeded.
bool Xdo(const QStringList& arguments);
// Types a key combination (xdotool's names: "ctrl+BackSpace") into whatever
// takes it: the focused window, or a program that grabbed the combination.
bool PressKeys(const QString& keys);

// Lets the given time pass with the event loop running: for stimuli that
// must come apart in time, never to wait for something to happen.
inline void Pause(int ms) { test_support::PumpEventsFor(std::chrono::milliseconds(ms)); }

// One X window as xwininfo describes it.
struct WindowInfo {
  QString id;      // decimal, as xdotool prints it
  QString name;    // WM_NAME
  QRect geometry;  // in screen coordinates
  bool viewable = false;
  bool override_redirect = false;
  bool top_level = false;  // a child of the root window, or framed by a window manager
};
std::optional<WindowInfo> DescribeWindow(const QString& id);

// Every window a process made (by its _NET_WM_PID), mapped or not.
std::vector<WindowInfo> WindowsOf(qint64 pid);
// The process's viewable top-level window with this exact name.
std::optional<WindowInfo> VisibleWindowNamed(qint64 pid, const QString& name);
// The process's icon in the tray: its viewable window that the tray host
// has taken in (the only one of its windows whose parent is not the root).
std::optional<WindowInfo> TrayIconOf(qint64 pid);

// Gives a window the keyboard focus (through the window manager when there is
// one) and waits until the server says it has it.
bool Focus(const QString& window);

// The value of a key in an INI file (section and key without regard to
// case, value trimmed); nullopt when the file, section or key is missing.
std::optional<QString> IniValue(const QString& path, const QString& section, const QString& key);

// The whole content of a file; empty when it cannot be read.
QByteArray FileContent(const QString& path);

// The clipboard's text as another client reads it; nullopt when it has none.
std::optional<QByteArray> ClipboardText();
// The PRIMARY selection's text (what is selected on the screen).
QByteArray PrimarySelection();

// A part of the screen as it shows now.
QImage GrabScreen(const QRect& area);
// The tray icon's picture as the tray shows it now; null without an icon.
QImage TrayPicture(qint64 pid);
// True when the tray icon keeps one picture for longer than three steps of
// the reading animation; that picture goes into `picture`.
bool TrayPictureSettles(qint64 pid, QImage& picture);
// Keeps a picture for people to look at: in $VOXMERE_E2E_ARTIFACTS, else in
// "e2e-artifacts" beside the test program. Returns the file's path.
QString SaveArtifact(const QImage& image, const QString& name);

// The program copied into a fresh folder of its own and started from there:
// the folder is writable, so the program keeps its settings files beside
// itself (portable use), and every scenario starts with none. Its start-up
// entry and trace go to a configuration and state folder of its own too.
// Every process started is killed when the object goes.
class ProgramCopy {
 public:
  ProgramCopy();
  ~ProgramCopy();
  ProgramCopy(const ProgramCopy&) = delete;
  ProgramCopy& operator=(const ProgramCopy&) = delete;

  bool Ready() const { return ready_; }
  QString Path() const;
  QString SettingsFile(const QString& name) const;  // "cfg.ini" beside the program
  QString AutostartFile() const;
  void WriteSettingsFile(const QString& name, const QByteArray& content) const;

  // Starts one more process of the program (the first one runs on).
  QProcess& Start(const QStringList& arguments = {},
                  const QProcessEnvironment& extra = QProcessEnvironment());
  // What a started process printed, for failure messages.
  QString Output(const QProcess& process) const;

  // Waits for the first process's tray icon and returns it.
  std::optional<WindowInfo> WaitForTrayIcon(const QProcess& process, int timeout_ms = 30000);
  // Waits for the process's options window to be shown.
  std::optional<WindowInfo> WaitForOptionsWindow(const QProcess& process, int timeout_ms = 30000);

  // Ends a process (it has no other way to be ended from outside but the
  // tray menu) and waits for it.
  static void Kill(QProcess& process);

 private:
  struct Started;
  QString folder_;
  bool ready_ = false;
  std::vector<std::unique_ptr<Started>> started_;
};

// Xterms that copy their selection to the clipboard on Ctrl+C, as the
// program's capture expects of the focused application. Killed when the
// object goes.
class Xterms {
 public:
  Xterms() = default;
  ~Xterms();
  Xterms(const Xterms&) = delete;
  Xterms& operator=(const Xterms&) = delete;

  // An xterm showing `line` on its first row, at the top left of the
  // screen; its window id once it is ready, empty when it did not come.
  QString Start(const QString& line);

  // Selects the first row (three clicks) and focuses the xterm; returns
  // the selected text (with or without xterm's line end), empty on failure.
  static QString SelectFirstRow(const QString& window, const QString& line);

 private:
  std::vector<std::unique_ptr<QProcess>> processes_;
};

// An xclip owning the clipboard with a text, in the foreground; it ends when
// another client takes the clipboard. Killed when the object goes.
class ClipboardOwner {
 public:
  explicit ClipboardOwner(const QByteArray& text);
  ~ClipboardOwner();
  ClipboardOwner(const ClipboardOwner&) = delete;
  ClipboardOwner& operator=(const ClipboardOwner&) = delete;

  bool Owns() const;

 private:
  QProcess xclip_;
};

}  // namespace voxmere::e2e
