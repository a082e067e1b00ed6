// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>
#include <QWidget>

class QHelpEngineCore;
class QListWidget;
class QPushButton;

namespace voxmere {

class HelpBrowser;

// The program's help window: the topics at the side, the page at the right,
// Back and Forward above it (also Alt+Left and Alt+Right). It keeps nothing
// between runs: size and place are the window system's choice each time.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  static const QString& Caption();  // "Voxmere! Help"

  explicit HelpWindow(QHelpEngineCore& engine, QWidget* parent = nullptr);

  // Shows the page at `url` (a qthelp:// address of the help file).
  void ShowPage(const QUrl& url);
  HelpBrowser& Browser() { return *browser_; }

 private:
  void MarkCurrentTopic(const QUrl& url);

  HelpBrowser* browser_;
  QListWidget* contents_;
  QPushButton* back_;
  QPushButton* forward_;
};

}  // namespace voxmere
