#pragma once

#include <QLineEdit>

namespace voxmere {

class OptionsWindow;
class HotKeyField;

// The widget of a hot key field: the user presses a combination and the
// field's model turns it into the hot key's text. Typed characters never
// reach the text. Tab still moves on, and Esc still reaches the window's
// Cancel; every other key, combinations that would otherwise be shortcuts
// or mnemonics included, goes to the field.
class HotKeyLineEdit : public QLineEdit {
  Q_OBJECT

 public:
  HotKeyLineEdit(HotKeyField& model, OptionsWindow& window, QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  HotKeyField& model_;
  OptionsWindow& window_;
};

}  // namespace voxmere
