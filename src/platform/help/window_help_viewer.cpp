// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/window_help_viewer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include "platform/help/help_file_locator.h"
#include "platform/help/help_log.h"
#include "platform/help/help_topic_pages.h"
#include "platform/help/help_window_module.h"

namespace voxmere {

WindowHelpViewer::WindowHelpViewer(MessageBoxes& messages, QString support_text,
                                   QString program_dir)
    : messages_(messages),
      support_text_(std::move(support_text)),
      program_dir_(std::move(program_dir)) {}

WindowHelpViewer::~WindowHelpViewer() = default;

QString WindowHelpViewer::MissingMessage(const QString& support_text) {
  // A single carriage return between the two sentences, as the Windows
  // program has it.
  return QStringLiteral("Sorry, but the help file of Voxmere is missing.\rPlease, consult ") +
         support_text + QStringLiteral(" and we'll send you another help file.");
}

void WindowHelpViewer::ShowTopic(HelpTopic topic, QObject* parent) {
  const QString path = LocateHelpFile(program_dir_);
  if (path.isEmpty()) {
    qCWarning(HelpLog, "Help topic %d asked for, but there is no help file for %s",
              static_cast<int>(topic), qUtf8Printable(program_dir_));
  }
  if (path.isEmpty() || !Open(path)) {
    messages_.Show(MessageBoxes::Kind::kPlain, MissingMessage(support_text_),
                   MessageBoxes::Buttons::kOk, parent);
    return;
  }
  session_->ShowPage(HelpPageUrl(HelpTopicPage(topic)));
}

void WindowHelpViewer::CloseAll() {
  if (session_ && session_->Window() != nullptr) session_->Window()->close();
  session_.reset();
  open_path_.clear();
}

void WindowHelpViewer::WaitUntilClosed() {
  const QPointer<QWidget> window = Window();
  // Closing the window is an event too: the loop sees it go.
  while (window != nullptr && window->isVisible()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

QWidget* WindowHelpViewer::Window() const { return session_ ? session_->Window() : nullptr; }

bool WindowHelpViewer::Open(const QString& path) {
  if (session_ && path == open_path_) return true;
  CloseAll();
  if (!module_library_.isLoaded()) {
    const QString module = LocateHelpModule(program_dir_);
    if (module.isEmpty()) {
      qCWarning(HelpLog, "The help window's module %s is not installed for %s", kHelpModuleFileName,
                qUtf8Printable(program_dir_));
      return false;
    }
    module_library_.setFileName(module);
    if (!module_library_.load()) {
      qCWarning(HelpLog, "The help window's module cannot be loaded: %s",
                qUtf8Printable(module_library_.errorString()));
      return false;
    }
  }
  const auto make = reinterpret_cast<MakeHelpWindowModuleFunction>(
      module_library_.resolve(kMakeHelpWindowModule));
  if (make == nullptr) {
    qCWarning(HelpLog, "The help window's module has no %s", kMakeHelpWindowModule);
    return false;
  }
  std::unique_ptr<HelpWindowModule> session(make());
  QString error;
  if (!session->Open(path, error)) {
    qCWarning(HelpLog, "The help file %s cannot be read: %s", qUtf8Printable(path),
              qUtf8Printable(error));
    return false;
  }
  session_ = std::move(session);
  open_path_ = path;
  return true;
}

}  // namespace voxmere
