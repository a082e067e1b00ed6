// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

#include "platform/help_viewer.h"
#include "platform/message_boxes.h"

class QHelpEngineCore;
class QTemporaryDir;

namespace voxmere {

class HelpWindow;

// Help in a window of the program's own, read from the help file beside the
// program (see LocateHelpFile). Nothing is made before the first request: the
// help engine, its collection and the window come then, and CloseAll frees
// them again. Where the help file is missing, each request shows the support
// message instead.
class WindowHelpViewer : public HelpViewer {
 public:
  // `support_text` names where to ask for a new help file.
  WindowHelpViewer(MessageBoxes& messages, QString support_text, QString program_dir);
  ~WindowHelpViewer() override;

  // "Sorry, but the help file of Voxmere is missing.\rPlease, consult ..."
  static QString MissingMessage(const QString& support_text);

  void ShowTopic(HelpTopic topic, QObject* parent = nullptr) override;
  void CloseAll() override;

  // The window while it exists (for tests), else null.
  HelpWindow* Window() const { return window_.get(); }

 private:
  // Opens the help file at `path` (again, when another file was open);
  // false when the file cannot be read as help.
  bool Open(const QString& path);

  MessageBoxes& messages_;
  QString support_text_;
  QString program_dir_;
  QString open_path_;
  // The engine reads the help file through a collection of its own, kept in a
  // temporary folder: nothing is written beside the program or among the
  // user's settings. Declared in the order they depend on each other.
  std::unique_ptr<QTemporaryDir> collection_dir_;
  std::unique_ptr<QHelpEngineCore> engine_;
  std::unique_ptr<HelpWindow> window_;
};

}  // namespace voxmere
