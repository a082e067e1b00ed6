// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace voxmere {

class OptionsWindow;
class HotKeyField;
class KeyEventConversion;

// The widget of a hot key field: the user presses a combination and the
// field's model turns it into the hot key's text. Typed characters never
// reach the text. Tab still moves on, and Esc still reaches the window's
// Cancel; every other key, combinations that would otherwise be shortcuts
// or mnemonics included, goes to the field. The platform tells which
// virtual-key code a press has.
class HotKeyLineEdit : public QLineEdit {
  Q_OBJECT

 public:
  HotKeyLineEdit(HotKeyField& model, OptionsWindow& window, const KeyEventConversion& keys,
                 QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  HotKeyField& model_;
  OptionsWindow& window_;
  const KeyEventConversion& keys_;
};

}  // namespace voxmere
