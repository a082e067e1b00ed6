// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/short_cut.h"

namespace voxmere {
namespace {

// The names the program gives itself; every other key is named by the layout.
const char* FixedKeyName(int virtual_key) {
  switch (virtual_key) {
    case 0x08:
      return "BkSp";
    case 0x09:
      return "Tab";
    case 0x0D:
      return "Enter";
    case 0x1B:
      return "Esc";
    case 0x20:
      return "Space";
    case 0x21:
      return "PgUp";
    case 0x22:
      return "PgDn";
    case 0x23:
      return "End";
    case 0x24:
      return "Home";
    case 0x25:
      return "Left";
    case 0x26:
      return "Up";
    case 0x27:
      return "Right";
    case 0x28:
      return "Down";
    case 0x2D:
      return "Ins";
    case 0x2E:
      return "Del";
    default:
      return nullptr;
  }
}

// Strips one modifier prefix from the front of `rest`; false when there is none.
bool TakeModifierPrefix(QStringView& rest, ShortCut& modifiers) {
  struct Prefix {
    QStringView text;
    ShortCut bit;
  };
  static constexpr Prefix kPrefixes[] = {
      {u"Shift+", kScShift}, {u"^", kScCtrl}, {u"Ctrl+", kScCtrl}, {u"Alt+", kScAlt}};
  for (const Prefix& prefix : kPrefixes) {
    if (rest.startsWith(prefix.text, Qt::CaseInsensitive)) {
      rest = rest.mid(prefix.text.size());
      modifiers |= prefix.bit;
      return true;
    }
  }
  return false;
}

bool NamesKey(int virtual_key, QStringView name, const KeyNames& key_names) {
  const QString key_name = KeyCodeName(virtual_key, key_names);
  return !key_name.isEmpty() && name.compare(key_name, Qt::CaseInsensitive) == 0;
}

}  // namespace

ShortCut MakeShortCut(int key, ShiftState shift) {
  if (key < 0 || key > 255) return 0;
  ShortCut code = static_cast<ShortCut>(key);
  if (shift & kShiftKey) code |= kScShift;
  if (shift & kCtrlKey) code |= kScCtrl;
  if (shift & kAltKey) code |= kScAlt;
  return code;
}

QString KeyCodeName(int virtual_key, const KeyNames& key_names) {
  // Code 0 is "no hot key" and must stay nameless whatever the layout says
  // (Windows has no scan code for it).
  if (virtual_key <= 0 || virtual_key > 255) return {};
  if (const char* fixed = FixedKeyName(virtual_key)) return QString::fromLatin1(fixed);
  if (virtual_key >= 0x30 && virtual_key <= 0x39) return QString(QChar(virtual_key));
  if (virtual_key >= 0x41 && virtual_key <= 0x5A) return QString(QChar(virtual_key));
  // The keypad digits share the top row's names, so they parse as those.
  if (virtual_key >= 0x60 && virtual_key <= 0x69) return QString(QChar('0' + virtual_key - 0x60));
  if (virtual_key >= 0x70 && virtual_key <= 0x87) {
    return QStringLiteral("F") + QString::number(virtual_key - 0x70 + 1);
  }
  return key_names.KeyName(virtual_key);
}

QString ShortCutToText(ShortCut code, const KeyNames& key_names) {
  const QString name = KeyCodeName(code & 0xFF, key_names);
  if (name.isEmpty()) return {};
  QString text;
  if (code & kScShift) text += QLatin1String("Shift+");
  if (code & kScCtrl) text += QLatin1String("Ctrl+");
  if (code & kScAlt) text += QLatin1String("Alt+");
  return text + name;
}

ShortCut TextToShortCut(const QString& text, const KeyNames& key_names) {
  QStringView rest(text);
  ShortCut modifiers = 0;
  while (TakeModifierPrefix(rest, modifiers)) {
  }
  if (rest.isEmpty()) return 0;

  // The Windows program tries the codes 8..597 in order and takes the first
  // whose text matches. A code above 255 is named by its low byte, so 8..255
  // decide unless only a key of the low bytes 0..7 carries the name; then the
  // first match is 256 + that byte (256..263 precede the other repeats).
  // Each key's name is thus fetched at most once per parse.
  for (int virtual_key = 8; virtual_key <= 255; ++virtual_key) {
    if (NamesKey(virtual_key, rest, key_names)) {
      return static_cast<ShortCut>(virtual_key | modifiers);
    }
  }
  for (int low_byte = 0; low_byte < 8; ++low_byte) {
    if (NamesKey(low_byte, rest, key_names)) {
      return static_cast<ShortCut>((0x100 + low_byte) | modifiers);
    }
  }
  return 0;
}

ShortCut NormaliseShortCut(ShortCut code, const KeyNames& key_names) {
  return TextToShortCut(ShortCutToText(code, key_names), key_names);
}

}  // namespace voxmere
