// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e_env.h"

#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdlib>

namespace voxmere::e2e {

bool Xdo(const QStringList& arguments) { return Run("xdotool", arguments).ok; }

bool PressKeys(const QString& keys) { return Xdo({"key", keys}); }

std::optional<WindowInfo> DescribeWindow(const QString& id) {
  const RunResult described = Run("xwininfo", {"-id", id, "-children", "-stats"});
  if (!described.ok) return std::nullopt;
  WindowInfo info;
  info.id = id;
  int x = 0, y = 0, width = 0, height = 0;
  for (const QString& line : QString::fromUtf8(described.output).split('\n')) {
    const QString field = line.section(':', 0, 0).trimmed();
    const QString value = line.section(':', 1).trimmed();
    if (line.startsWith("xwininfo: Window id:")) {
      const qsizetype quote = line.indexOf('"');
      if (quote >= 0) info.name = line.mid(quote + 1, line.lastIndexOf('"') - quote - 1);
    } else if (field == "Parent window id") {
      info.top_level = value.contains("(the root window)");
    } else if (field == "Absolute upper-left X") {
      x = value.toInt();
    } else if (field == "Absolute upper-left Y") {
      y = value.toInt();
    } else if (field == "Width") {
      width = value.toInt();
    } else if (field == "Height") {
      height = value.toInt();
    } else if (field == "Map State") {
      info.viewable = value == "IsViewable";
    } else if (field == "Override Redirect State") {
      info.override_redirect = value == "yes";
    }
  }
  info.geometry = QRect(x, y, width, height);
  // A window manager puts top-level windows into frames of its own; what
  // marks them then is the WM_STATE it gives them (an embedded tray icon
  // has none).
  if (!info.top_level) {
    info.top_level = Run("xprop", {"-id", id, "WM_STATE"}).output.contains("window state:");
  }
  return info;
}

std::vector<WindowInfo> WindowsOf(qint64 pid) {
  std::vector<WindowInfo> windows;
  const RunResult found = Run("xdotool", {"search", "--pid", QString::number(pid)});
  for (const QByteArray& id : found.output.split('\n')) {
    if (id.trimmed().isEmpty()) continue;
    // A window may go between the search and the look at it.
    if (auto info = DescribeWindow(QString::fromLatin1(id.trimmed()))) windows.push_back(*info);
  }
  return windows;
}

std::optional<WindowInfo> VisibleWindowNamed(qint64 pid, const QString& name) {
  for (const WindowInfo& window : WindowsOf(pid)) {
    if (window.viewable && window.top_level && window.name == name) return window;
  }
  return std::nullopt;
}

std::optional<WindowInfo> TrayIconOf(qint64 pid) {
  for (const WindowInfo& window : WindowsOf(pid)) {
    if (window.viewable && !window.top_level && window.geometry.width() > 0) return window;
  }
  return std::nullopt;
}

bool Focus(const QString& window) {
  // A window manager is asked to activate the window (it would take the
  // focus back otherwise); without one, the focus is set directly.
  if (!Xdo({"windowactivate", "--sync", window}) && !Xdo({"windowfocus", "--sync", window})) {
    return false;
  }
  return WaitFor(
      [&] {
        return QString::fromLatin1(Run("xdotool", {"getwindowfocus"}).output).trimmed() == window;
      },
      10000);
}

QByteArray FileContent(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

std::optional<QString> IniValue(const QString& path, const QString& section, const QString& key) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  bool in_section = false;
  for (const QByteArray& raw : file.readAll().split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (line.startsWith('[') && line.endsWith(']')) {
      in_section = line.mid(1, line.size() - 2).compare(section, Qt::CaseInsensitive) == 0;
    } else if (in_section &&
               line.section('=', 0, 0).trimmed().compare(key, Qt::CaseInsensitive) == 0 &&
               line.contains('=')) {
      return line.section('=', 1).trimmed();
    }
  }
  return std::nullopt;
}

std::optional<QByteArray> ClipboardText() {
  const RunResult read = Run("xclip", {"-selection", "clipboard", "-o"}, 5000);
  if (!read.ok) return std::nullopt;
  return read.output;
}

QByteArray PrimarySelection() { return Run("xclip", {"-selection", "primary", "-o"}, 5000).output; }

QImage GrabScreen(const QRect& area) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

QImage TrayPicture(qint64 pid) {
  const std::optional<WindowInfo> icon = TrayIconOf(pid);
  return icon ? GrabScreen(icon->geometry) : QImage();
}

bool TrayPictureSettles(qint64 pid, QImage& picture) {
  return WaitFor(
      [&] {
        picture = TrayPicture(pid);
        if (picture.isNull()) return false;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1600);
        while (std::chrono::steady_clock::now() < until) {
          Pause(100);
          if (TrayPicture(pid) != picture) return false;
        }
        return true;
      },
      15000);
}

QString SaveArtifact(const QImage& image, const QString& name) {
  QString folder = qEnvironmentVariable("VOXMERE_E2E_ARTIFACTS");
  if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath() + "/e2e-artifacts";
  QDir().mkpath(folder);
  const QString path = QDir(folder).filePath(name);
  return image.save(path) ? path : QString();
}

// One started process of the program and the file its output goes to.
struct ProgramCopy::Started {
  QProcess process;
  QString log;
};

ProgramCopy::ProgramCopy() {
  QTemporaryDir folder(QDir::tempPath() + "/voxmere-e2e-XXXXXX");
  folder.setAutoRemove(false);
  if (!folder.isValid()) return;
  folder_ = folder.path();
  QDir(folder_).mkpath("program");
  QDir(folder_).mkpath("config");
  QDir(folder_).mkpath("state");
  // A hard link where the file system allows it saves copying the program
  // with its debugging data for every scenario; the program finds its folder
  // by the path it was started under either way.
  const QByteArray built = QFile::encodeName(QStringLiteral(VOXMERE_PROGRAM));
  const QByteArray copy = QFile::encodeName(Path());
  ready_ = ::link(built.constData(), copy.constData()) == 0 ||
           QFile::copy(QStringLiteral(VOXMERE_PROGRAM), Path());
  ready_ = ready_ && QFile::setPermissions(
                         Path(), QFile::permissions(Path()) | QFile::ExeOwner | QFile::ReadOwner);
  // The help file and the help window's module go beside the program, as the
  // build puts them; a scenario may delete its copies.
  const QDir built_folder = QFileInfo(QStringLiteral(VOXMERE_PROGRAM)).dir();
  for (const char* name : {"voxmere.qch", "voxmere_help_window.so"}) {
    const QString source = built_folder.filePath(QLatin1String(name));
    const QString target = folder_ + "/program/" + QLatin1String(name);
    ready_ = ready_ && (::link(QFile::encodeName(source).constData(),
                               QFile::encodeName(target).constData()) == 0 ||
                        QFile::copy(source, target));
  }
}

ProgramCopy::~ProgramCopy() {
  for (const std::unique_ptr<Started>& started : started_) Kill(started->process);
  started_.clear();
  if (!folder_.isEmpty()) QDir(folder_).removeRecursively();
}

QString ProgramCopy::Path() const { return folder_ + "/program/voxmere"; }

QString ProgramCopy::SettingsFile(const QString& name) const {
  return folder_ + "/program/" + name;
}

QString ProgramCopy::AutostartFile() const { return folder_ + "/config/autostart/voxmere.desktop"; }

void ProgramCopy::WriteSettingsFile(const QString& name, const QByteArray& content) const {
  QFile file(SettingsFile(name));
  if (file.open(QIODevice::WriteOnly)) file.write(content);
}

QProcess& ProgramCopy::Start(const QStringList& arguments, const QProcessEnvironment& extra) {
  auto started = std::make_unique<Started>();
  started->log = QString("%1/output-%2.txt").arg(folder_).arg(started_.size() + 1);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", folder_ + "/config");
  environment.insert("XDG_STATE_HOME", folder_ + "/state");
  environment.insert("QT_QPA_PLATFORM", "xcb");
  environment.insert(extra);
  started->process.setProcessEnvironment(environment);
  started->process.setProcessChannelMode(QProcess::MergedChannels);
  started->process.setStandardOutputFile(started->log);
  started->process.setStandardInputFile(QProcess::nullDevice());
  started->process.start(Path(), arguments);
  started->process.waitForStarted(10000);
  started_.push_back(std::move(started));
  return started_.back()->process;
}

QString ProgramCopy::Output(const QProcess& process) const {
  for (const std::unique_ptr<Started>& started : started_) {
    if (&started->process == &process) {
      return "program output:\n" + QString::fromUtf8(FileContent(started->log));
    }
  }
  return {};
}

std::optional<WindowInfo> ProgramCopy::WaitForTrayIcon(const QProcess& process, int timeout_ms) {
  std::optional<WindowInfo> icon;
  WaitFor(
      [&] {
        icon = TrayIconOf(process.processId());
        return icon.has_value() || process.state() == QProcess::NotRunning;
      },
      timeout_ms);
  return icon;
}

std::optional<WindowInfo> ProgramCopy::WaitForOptionsWindow(const QProcess& process,
                                                            int timeout_ms) {
  std::optional<WindowInfo> window;
  WaitFor(
      [&] {
        window = VisibleWindowNamed(process.processId(), "Voxmere! Options");
        return window.has_value() || process.state() == QProcess::NotRunning;
      },
      timeout_ms);
  return window;
}

void ProgramCopy::Kill(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(5000)) {
    process.kill();
    process.waitForFinished(5000);
  }
}

Xterms::~Xterms() {
  for (const std::unique_ptr<QProcess>& process : processes_) {
    process->kill();
    process->waitForFinished(3000);
  }
}

QString Xterms::Start(const QString& line) {
  static QTemporaryDir folder;
  const QString title = "e2e-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
  const QString ready = folder.filePath(title);
  auto process = std::make_unique<QProcess>();
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  // Wide enough for a long line on one row; away from the middle of the
  // screen, where the options window stands, and from the tray at the top
  // right.
  process->start("xterm",
                 {"-T", title, "-geometry", "180x3+0+0", "-xrm",
                  "XTerm*VT100.translations: #override Ctrl<Key>c: "
                  "copy-selection(CLIPBOARD)",
                  "-e", "sh", "-c",
                  // No echo: keys that reach the xterm leave its row as it is.
                  "stty -echo; printf '%s' \"$0\"; touch \"$1\"; exec sleep 600", line, ready});
  process->waitForStarted(5000);
  processes_.push_back(std::move(process));
  QString window;
  WaitFor([&] {
    const RunResult found = Run("xdotool", {"search", "--onlyvisible", "--name", title});
    window = QString::fromLatin1(found.output).section('\n', 0, 0).trimmed();
    return found.ok && !window.isEmpty();
  });
  if (window.isEmpty() || !WaitFor([&] { return QFile::exists(ready); })) return {};
  return window;
}

QString Xterms::SelectFirstRow(const QString& window, const QString& line) {
  // Three clicks on the first row select it anew, and the selection's time
  // changes. On a busy machine the clicks may come too far apart to count as
  // one triple click: try again.
  const auto timestamp = [] {
    return Run("xclip", {"-selection", "primary", "-o", "-t", "TIMESTAMP"}, 5000).output;
  };
  const QByteArray before = timestamp();
  QString selected;
  const auto done = [&] { return selected.startsWith(line) && timestamp() != before; };
  for (int attempt = 0; attempt < 5 && !done(); ++attempt) {
    Xdo({"mousemove", "--window", window, "20", "8", "click", "--repeat", "3", "--delay", "50",
         "1"});
    WaitFor(
        [&] {
          selected = QString::fromUtf8(PrimarySelection());
          return done();
        },
        2000);
  }
  return done() && Focus(window) ? selected : QString();
}

ClipboardOwner::ClipboardOwner(const QByteArray& text) {
  static QTemporaryDir folder;
  const QString path = folder.filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(text);
  file.close();
  xclip_.setStandardOutputFile(QProcess::nullDevice());
  xclip_.setStandardErrorFile(QProcess::nullDevice());
  xclip_.start("xclip", {"-quiet", "-selection", "clipboard", "-i", path});
  xclip_.waitForStarted(5000);
  // Until xclip has the clipboard, the text is the previous owner's.
  WaitFor([&] { return ClipboardText() == text; }, 10000);
}

ClipboardOwner::~ClipboardOwner() {
  xclip_.kill();
  xclip_.waitForFinished(3000);
}

bool ClipboardOwner::Owns() const { return xclip_.state() != QProcess::NotRunning; }

}  // namespace voxmere::e2e
