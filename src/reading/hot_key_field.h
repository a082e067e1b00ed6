// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "platform/key_names.h"
#include "reading/short_cut.h"

namespace voxmere {

// The hot key entry field: a one-line text that always holds a hot key's text
// form or nothing. The user presses a combination rather than typing it; the
// hot key is parsed from the text whenever it is read. A view binds a line
// edit to this model and forwards key presses and typed characters.
class HotKeyField : public QObject {
  Q_OBJECT

 public:
  HotKeyField(const KeyNames& key_names, const QString& name, QObject* parent = nullptr);

  const QString& Text() const { return text_; }
  // Any new text, also a pasted one, is parsed and formatted again: "ctrl+a"
  // becomes "Ctrl+A", a text that is no hot key becomes empty.
  void SetText(const QString& text);

  ShortCut Shortcut() const;
  void SetShortcut(ShortCut code);

  // A key pressed in the field, with the modifiers held. The key becomes the
  // field's hot key (Backspace gives "BkSp" rather than erasing; a modifier
  // alone names itself). Returns true: the key goes no further.
  bool KeyPress(int virtual_key, ShiftState shift);
  // Typing never inserts text. Returns true: the character is swallowed.
  bool CharacterTyped(const QString& text);

  QString Hint() const;

 signals:
  // The text the field shows has to change: the model's text changed, or a
  // text given to SetText was rewritten (so a view showing what the user
  // pasted learns to show the formatted text, even when that is unchanged).
  void textChanged(const QString& text);

 private:
  const KeyNames& key_names_;
  QString text_;
};

}  // namespace voxmere
