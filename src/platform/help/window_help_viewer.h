// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLibrary>
#include <QString>
#include <memory>

#include "platform/help_viewer.h"
#include "platform/message_boxes.h"

class QWidget;

namespace voxmere {

class HelpWindowModule;

// Help in a window of the program's own, read from the help file beside the
// program (see LocateHelpFile). Nothing is loaded before the first request:
// the help window's module (with Qt Help), the help engine and the window
// come then, and CloseAll frees the engine and the window again. Where the
// help file (or the module) is missing, each request shows the support
// message instead.
class WindowHelpViewer : public HelpViewer {
 public:
  // `support_text` names where to ask for a new help file; `program_dir` is
  // where the help file and the module are looked for.
  WindowHelpViewer(MessageBoxes& messages, QString support_text, QString program_dir);
  ~WindowHelpViewer() override;

  // "Sorry, but the help file of Voxmere is missing.\rPlease, consult ..."
  static QString MissingMessage(const QString& support_text);

  void ShowTopic(HelpTopic topic, QObject* parent = nullptr) override;
  void CloseAll() override;
  void WaitUntilClosed() override;

  // The help window while it exists, else null.
  QWidget* Window() const;

 private:
  // Opens the help file at `path` (again, when another file was open);
  // false when it cannot be shown.
  bool Open(const QString& path);

  MessageBoxes& messages_;
  QString support_text_;
  QString program_dir_;
  QString open_path_;
  // Stays loaded once loaded: Qt's classes in it may still be referred to
  // (meta-objects, pending events) after the window went.
  QLibrary module_library_;
  std::unique_ptr<HelpWindowModule> session_;
};

}  // namespace voxmere
