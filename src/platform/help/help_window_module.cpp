// SPDX-License-Identifier: GPL-3.0-or-later
// The module that holds the help window (see help_window_module.h).
#include "platform/help/help_window_module.h"

#include <QApplication>
#include <QHelpEngineCore>
#include <QTemporaryDir>
#include <QWindow>
#include <QtGlobal>
#include <memory>

#include "platform/help/help_window.h"

namespace voxmere {
namespace {

// The help engine reads the help file through a collection of its own, kept
// in a temporary folder: nothing is written beside the program or among the
// user's settings, and nothing is kept between runs.
class HelpWindowSession : public HelpWindowModule {
 public:
  bool Open(const QString& help_file, QString& error) override {
    if (!collection_dir_.isValid()) {
      error = QStringLiteral("no temporary folder: ") + collection_dir_.errorString();
      return false;
    }
    engine_ =
        std::make_unique<QHelpEngineCore>(collection_dir_.filePath(QStringLiteral("voxmere.qhc")));
    // Qt opens collections read-only unless told: this one is ours and gets
    // the help file registered in it.
    engine_->setReadOnly(false);
    if (!engine_->setupData() || !engine_->registerDocumentation(help_file)) {
      error = engine_->error();
      return false;
    }
    window_ = std::make_unique<HelpWindow>(*engine_);
    return true;
  }

  void ShowPage(const QUrl& url) override {
    // The slot and word editors are modal and ask for help while they are
    // open: as the open editor's transient window the help window takes
    // input (scrolling, links) meanwhile instead of being blocked by it.
    QWidget* modal = QApplication::activeModalWidget();
    window_->winId();  // makes the native window that takes the transient parent
    window_->windowHandle()->setTransientParent(modal != nullptr ? modal->windowHandle() : nullptr);
    window_->ShowPage(url);
    if (window_->isMinimized()) window_->showNormal();
    window_->show();
    window_->raise();
    window_->activateWindow();
  }

  QWidget* Window() override { return window_.get(); }

 private:
  // Declared in the order they depend on each other, so that they go in the
  // reverse order.
  QTemporaryDir collection_dir_;
  std::unique_ptr<QHelpEngineCore> engine_;
  std::unique_ptr<HelpWindow> window_;
};

}  // namespace
}  // namespace voxmere

extern "C" Q_DECL_EXPORT voxmere::HelpWindowModule* voxmere_make_help_window() {
  return new voxmere::HelpWindowSession;
}
