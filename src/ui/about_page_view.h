// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QWidget>
#include <functional>

namespace voxmere {

class OptionsWindow;

// A link of the About page: blue text that turns lighter and underlined under
// the mouse or with the keyboard focus, a hand cursor, and a click (or Enter
// or Space while focused). Screen readers announce it by its text.
class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  static const QColor& LinkColour();   // RGB 0, 78, 152
  static const QColor& HoverColour();  // RGB 49, 106, 197

  LinkLabel(const QString& name, const QString& text, QWidget* parent = nullptr);

  void SetBold(bool bold);

 signals:
  void clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ShowState();

  bool hovered_ = false;
};

// The "About" page: the program's picture, name and line, the three links and
// the small print on a gradient from blue to white.
class AboutPageView : public QWidget {
  Q_OBJECT

 public:
  AboutPageView(OptionsWindow& window, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace voxmere
