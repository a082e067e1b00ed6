// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/window_help_viewer.h"

#include <QHelpEngineCore>
#include <QTemporaryDir>

#include "platform/help/help_browser.h"
#include "platform/help/help_file_locator.h"
#include "platform/help/help_log.h"
#include "platform/help/help_topic_pages.h"
#include "platform/help/help_window.h"

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
  if (path.isEmpty() || !Open(path)) {
    qCWarning(HelpLog, "Help topic %d asked for, but there is no help file in %s",
              static_cast<int>(topic), qUtf8Printable(program_dir_));
    messages_.Show(MessageBoxes::Kind::kPlain, MissingMessage(support_text_),
                   MessageBoxes::Buttons::kOk, parent);
    return;
  }
  window_->ShowPage(HelpPageUrl(HelpTopicPage(topic)));
  if (window_->isMinimized()) window_->showNormal();
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void WindowHelpViewer::CloseAll() {
  if (window_) window_->close();
  window_.reset();
  engine_.reset();
  collection_dir_.reset();
  open_path_.clear();
}

bool WindowHelpViewer::Open(const QString& path) {
  if (window_ && path == open_path_) return true;
  CloseAll();
  auto dir = std::make_unique<QTemporaryDir>();
  if (!dir->isValid()) {
    qCWarning(HelpLog, "No temporary folder for the help collection: %s",
              qUtf8Printable(dir->errorString()));
    return false;
  }
  auto engine = std::make_unique<QHelpEngineCore>(dir->filePath(QStringLiteral("voxmere.qhc")));
  // Qt's engine opens collections read-only unless told: this one is ours
  // and gets the help file registered in it.
  engine->setReadOnly(false);
  if (!engine->setupData() || !engine->registerDocumentation(path)) {
    qCWarning(HelpLog, "The help file %s cannot be read: %s", qUtf8Printable(path),
              qUtf8Printable(engine->error()));
    return false;
  }
  collection_dir_ = std::move(dir);
  engine_ = std::move(engine);
  window_ = std::make_unique<HelpWindow>(*engine_);
  open_path_ = path;
  return true;
}

}  // namespace voxmere
