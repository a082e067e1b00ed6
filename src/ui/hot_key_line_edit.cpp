// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/hot_key_line_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "app/options_window.h"
#include "platform/key_event_conversion.h"
#include "reading/hot_key_field.h"

namespace voxmere {
namespace {

// Keys the window takes before the field sees them.
bool WindowKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held =
      event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (held != Qt::NoModifier) return false;
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return true;
    case Qt::Key_Escape:
      return event.modifiers() == Qt::NoModifier;
    default:
      return false;
  }
}

}  // namespace

HotKeyLineEdit::HotKeyLineEdit(HotKeyField& model, OptionsWindow& window,
                               const KeyEventConversion& keys, QWidget* parent)
    : QLineEdit(parent), model_(model), window_(window), keys_(keys) {
  setObjectName(model.objectName());
  setToolTip(model.Hint());
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setText(model.Text());
  connect(&model, &HotKeyField::textChanged, this, [this](const QString& text) {
    if (this->text() != text) setText(text);
  });
  // A text the model has not seen is the user's (pasted, dropped, undone):
  // the model formats it again.
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text == model_.Text()) return;
    window_.Guard([this, text] { model_.SetText(text); });
  });
}

bool HotKeyLineEdit::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key_event = static_cast<QKeyEvent*>(event);
    if (!WindowKey(*key_event)) {
      // The key comes to keyPressEvent instead of triggering a shortcut.
      event->accept();
      return true;
    }
  }
  return QLineEdit::event(event);
}

void HotKeyLineEdit::keyPressEvent(QKeyEvent* event) {
  if (WindowKey(*event)) {
    event->ignore();
    return;
  }
  event->accept();
  const VirtualKeyPress press = keys_.VirtualKeyOf(
      {event->key(), event->modifiers(), event->nativeScanCode(), event->nativeVirtualKey()});
  // A key without a virtual-key code (a media key, say) leaves the field as
  // it is.
  if (press.virtual_key != 0) {
    window_.Guard([this, press] { model_.KeyPress(press.virtual_key, press.shift); });
  }
  const QString typed = event->text();
  if (!typed.isEmpty()) window_.Guard([this, typed] { model_.CharacterTyped(typed); });
}

void HotKeyLineEdit::inputMethodEvent(QInputMethodEvent* event) {
  // Composed text is typed text: swallowed.
  event->accept();
}

}  // namespace voxmere
