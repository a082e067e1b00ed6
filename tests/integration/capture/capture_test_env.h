// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/event_wait.h"
#include "support/wait_until.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QByteArrayList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace voxmere::capture_test {

// Runs the event loop until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 10000) {
  return test_support::WaitUntil(condition, std::chrono::milliseconds(timeout_ms));
}

using test_support::RunResult;

// Runs a program to its end with the event loop running meanwhile, so that
// our own clipboard can answer it.
inline RunResult Run(const QString& program, const QStringList& arguments, int timeout_ms = 10000) {
  return test_support::RunProcess(program, arguments, timeout_ms);
}

// The clipboard's data for a target as another client reads it (xclip);
// ok is false when there is none.
RunResult ReadClipboard(const QString& target = QStringLiteral("UTF8_STRING"));

// The formats the clipboard offers, without the protocol's own targets
// (TARGETS, MULTIPLE, TIMESTAMP, SAVE_TARGETS); empty when it has no owner.
QByteArrayList ClipboardTargets();

// The PRIMARY selection (what is selected on the screen) for a target, as
// xclip prints it (TIMESTAMP as a decimal number).
QByteArray PrimarySelection(const QString& target = QStringLiteral("UTF8_STRING"));

// Programs started by a test, stopped (SIGCONT first) and killed when the
// object goes.
class Programs {
 public:
  Programs() = default;
  ~Programs();
  Programs(const Programs&) = delete;
  Programs& operator=(const Programs&) = delete;

  QProcess& Start(const QString& program, const QStringList& arguments);

  // Puts data on the clipboard under a target with an xclip that stays in
  // the foreground as the owner; waits until the clipboard gives it.
  QProcess& OwnClipboard(const QByteArray& data, const QString& target = "UTF8_STRING");

  // An xterm that copies its selection to the clipboard on Ctrl+C, showing
  // `line` on its first row; its window id once it is ready.
  QString StartXterm(const QString& line);

  // l3afpad editing a file holding `text`; its window id.
  QString StartEditor(const QString& text);

  // A Qt application (our qt_selection_owner) whose field shows `text`, all
  // of it selected on the screen; its window id once it holds the selection.
  QString StartQtSelection(const QString& text);

 private:
  std::vector<std::unique_ptr<QProcess>> processes_;
};

// The first window whose name matches, waited for; empty when none came.
QString FindWindow(const QString& name);

// xdotool with the arguments; true when it succeeded.
bool Xdo(const QStringList& arguments);

// Gives a window the keyboard focus (there is no window manager) and waits
// until the server says it has it.
bool Focus(const QString& window);

// A hot key grabbed on the root window over Qt's connection, as the
// program's hot keys are: while its key is held after a press, the whole
// keyboard is grabbed by us.
class GrabbedHotKey : public QAbstractNativeEventFilter {
 public:
  // An X key symbol and core modifier mask.
  GrabbedHotKey(unsigned keysym, std::uint16_t modifiers);
  ~GrabbedHotKey() override;
  GrabbedHotKey(const GrabbedHotKey&) = delete;
  GrabbedHotKey& operator=(const GrabbedHotKey&) = delete;

  bool Grabbed() const { return grabbed_; }
  int Presses() const { return presses_; }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 private:
  std::uint8_t keycode_ = 0;
  std::uint16_t modifiers_ = 0;
  bool grabbed_ = false;
  int presses_ = 0;
};

}  // namespace voxmere::capture_test
