// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/hot_key_field.h"

namespace voxmere {

namespace {
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;  // Alt
}  // namespace

HotKeyField::HotKeyField(const KeyNames& key_names, const QString& name, QObject* parent)
    : QObject(parent), key_names_(key_names) {
  setObjectName(name);
}

void HotKeyField::SetText(const QString& text) {
  const QString formatted = ShortCutToText(TextToShortCut(text, key_names_), key_names_);
  const bool changed = formatted != text_;
  text_ = formatted;
  if (changed || formatted != text) emit textChanged(text_);
}

ShortCut HotKeyField::Shortcut() const { return TextToShortCut(text_, key_names_); }

void HotKeyField::SetShortcut(ShortCut code) { SetText(ShortCutToText(code, key_names_)); }

bool HotKeyField::KeyPress(int virtual_key, ShiftState shift) {
  // A modifier pressed alone is the key itself, not a modifier of itself.
  if (virtual_key == kVkControl) shift &= ~ShiftState{kCtrlKey};
  if (virtual_key == kVkMenu) shift &= ~ShiftState{kAltKey};
  if (virtual_key == kVkShift) shift &= ~ShiftState{kShiftKey};
  SetText(ShortCutToText(MakeShortCut(virtual_key, shift), key_names_));
  return true;
}

bool HotKeyField::CharacterTyped(const QString& /*text*/) { return true; }

QString HotKeyField::Hint() const {
  return QStringLiteral("Press the desired key or combination of keys");
}

}  // namespace voxmere
