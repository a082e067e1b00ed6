// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture_test_env.h"

#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdlib>

#include "platform/x11/qt_x11_display.h"

// Xlib after Qt: its macros (Status, Bool) break Qt's headers.
#include <X11/Xlib.h>

namespace voxmere::capture_test {

RunResult ReadClipboard(const QString& target) {
  return Run("xclip", {"-selection", "clipboard", "-o", "-t", target}, 5000);
}

QByteArrayList ClipboardTargets() {
  QByteArrayList targets;
  for (const QByteArray& target : ReadClipboard("TARGETS").output.split('\n')) {
    static const QByteArrayList kProtocol = {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS"};
    if (!target.isEmpty() && !kProtocol.contains(target)) targets << target;
  }
  return targets;
}

QByteArray PrimarySelection(const QString& target) {
  return Run("xclip", {"-selection", "primary", "-o", "-t", target}, 5000).output;
}

Programs::~Programs() {
  for (const std::unique_ptr<QProcess>& process : processes_) {
    if (process->state() == QProcess::NotRunning) continue;
    ::kill(static_cast<pid_t>(process->processId()), SIGCONT);
    process->kill();
    process->waitForFinished(3000);
  }
}

QProcess& Programs::Start(const QString& program, const QStringList& arguments) {
  auto process = std::make_unique<QProcess>();
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  process->start(program, arguments);
  process->waitForStarted(5000);
  processes_.push_back(std::move(process));
  return *processes_.back();
}

QProcess& Programs::OwnClipboard(const QByteArray& data, const QString& target) {
  static QTemporaryDir folder;
  const QString path = folder.filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(data);
  file.close();
  QProcess& xclip = Start("xclip", {"-quiet", "-selection", "clipboard", "-t", target, "-i", path});
  // Until xclip has the clipboard, the data is the previous owner's.
  WaitFor([&] { return ReadClipboard(target).output == data; });
  return xclip;
}

QString Programs::StartXterm(const QString& line) {
  static QTemporaryDir folder;
  const QString title = "capture-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
  const QString ready = folder.filePath(title);
  Start("xterm", {"-T", title, "-geometry", "60x4+0+0", "-xrm",
                  "XTerm*VT100.translations: #override Ctrl<Key>c: copy-selection(CLIPBOARD)", "-e",
                  "sh", "-c", "printf '%s' \"$0\"; touch \"$1\"; exec sleep 600", line, ready});
  const QString window = FindWindow(title);
  if (window.isEmpty() || !WaitFor([&] { return QFile::exists(ready); })) return {};
  return window;
}

QString Programs::StartEditor(const QString& text) {
  static QTemporaryDir folder;
  const QString name = "capture-" + QUuid::createUuid().toString(QUuid::WithoutBraces) + ".txt";
  QFile file(folder.filePath(name));
  if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
  file.close();
  Start("l3afpad", {file.fileName()});
  return FindWindow(name);
}

QString Programs::StartQtSelection(const QString& text) {
  const QString name = "capture-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
  Start(QStringLiteral(VOXMERE_QT_SELECTION_OWNER), {text, name});
  const QString window = FindWindow(name);
  if (window.isEmpty() || !WaitFor([&] { return PrimarySelection() == text.toUtf8(); })) return {};
  return window;
}

QString FindWindow(const QString& name) {
  QString window;
  WaitFor(
      [&] {
        const RunResult found = Run("xdotool", {"search", "--onlyvisible", "--name", name});
        window = QString::fromLatin1(found.output).section('\n', 0, 0).trimmed();
        return found.ok && !window.isEmpty();
      },
      20000);
  return window;
}

bool Xdo(const QStringList& arguments) { return Run("xdotool", arguments).ok; }

bool Focus(const QString& window) {
  if (!Xdo({"windowfocus", "--sync", window})) return false;
  return WaitFor([&] {
    return QString::fromLatin1(Run("xdotool", {"getwindowfocus"}).output).trimmed() == window;
  });
}

GrabbedHotKey::GrabbedHotKey(unsigned keysym, std::uint16_t modifiers) : modifiers_(modifiers) {
  xcb_connection_t* connection = QtX11Connection();
  Display* display = XOpenDisplay(QtX11DisplayName().constData());
  if (connection == nullptr || display == nullptr) return;
  keycode_ = XKeysymToKeycode(display, keysym);
  XCloseDisplay(display);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  xcb_generic_error_t* error = xcb_request_check(
      connection, xcb_grab_key_checked(connection, true, root, modifiers_, keycode_,
                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  grabbed_ = error == nullptr && keycode_ != 0;
  std::free(error);
  QCoreApplication::instance()->installNativeEventFilter(this);
}

GrabbedHotKey::~GrabbedHotKey() {
  QCoreApplication::instance()->removeNativeEventFilter(this);
  xcb_connection_t* connection = QtX11Connection();
  if (connection == nullptr || !grabbed_) return;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  xcb_ungrab_key(connection, keycode_, root, modifiers_);
  xcb_flush(connection);
}

bool GrabbedHotKey::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t") return false;
  auto* event = static_cast<xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
  auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
  if (press->detail == keycode_) ++presses_;
  return false;
}

}  // namespace voxmere::capture_test
