// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/focus_copy_qt.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace voxmere {

void QtFocusCopy::CopyFocusedSelection() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  QWidget* focus = QApplication::focusWidget();
  // A password field copies nothing by itself (QLineEdit::copy checks its
  // echo mode).
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    if (line->hasSelectedText()) line->copy();
  } else if (auto* text = qobject_cast<QTextEdit*>(focus)) {
    if (text->textCursor().hasSelection()) text->copy();
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
    if (plain->textCursor().hasSelection()) plain->copy();
  }
}

}  // namespace voxmere
