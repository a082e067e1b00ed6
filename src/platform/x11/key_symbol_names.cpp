// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_symbol_names.h"

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <QStringDecoder>
#include <unordered_map>

namespace voxmere {
namespace {

// Names of keys that type no character (and of a few that do but read
// better as words).
const std::unordered_map<Keysym, const char*>& SpecialNames() {
  static const std::unordered_map<Keysym, const char*> names = {
      {XK_BackSpace, "Backspace"},
      {XK_Tab, "Tab"},
      {XK_ISO_Left_Tab, "Tab"},
      {XK_Clear, "Clear"},
      {XK_Return, "Enter"},
      {XK_Pause, "Pause"},
      {XK_Break, "Break"},
      {XK_Scroll_Lock, "Scroll Lock"},
      {XK_Sys_Req, "Sys Req"},
      {XK_Escape, "Esc"},
      {XK_Delete, "Del"},
      {XK_Home, "Home"},
      {XK_Left, "Left"},
      {XK_Up, "Up"},
      {XK_Right, "Right"},
      {XK_Down, "Down"},
      {XK_Prior, "PgUp"},
      {XK_Next, "PgDn"},
      {XK_End, "End"},
      {XK_Select, "Select"},
      {XK_Print, "Print Screen"},
      {XK_Execute, "Execute"},
      {XK_Insert, "Ins"},
      {XK_Menu, "Application"},
      {XK_Cancel, "Cancel"},
      {XK_Help, "Help"},
      {XK_Num_Lock, "Num Lock"},
      {XK_Caps_Lock, "Caps Lock"},
      {XK_Shift_Lock, "Shift Lock"},
      {XK_Shift_L, "Shift"},
      {XK_Shift_R, "Right Shift"},
      {XK_Control_L, "Ctrl"},
      {XK_Control_R, "Right Ctrl"},
      {XK_Alt_L, "Alt"},
      {XK_Alt_R, "Right Alt"},
      {XK_Meta_L, "Meta"},
      {XK_Meta_R, "Right Meta"},
      {XK_Super_L, "Left Windows"},
      {XK_Super_R, "Right Windows"},
      {XK_Hyper_L, "Hyper"},
      {XK_Hyper_R, "Right Hyper"},
      {XK_ISO_Level3_Shift, "AltGr"},
      {XK_Mode_switch, "Mode Switch"},
      {XK_space, "Space"},
      {XK_KP_Space, "Num Space"},
      {XK_KP_Tab, "Num Tab"},
      {XK_KP_Enter, "Num Enter"},
      {XK_KP_Home, "Num 7"},
      {XK_KP_Left, "Num 4"},
      {XK_KP_Up, "Num 8"},
      {XK_KP_Right, "Num 6"},
      {XK_KP_Down, "Num 2"},
      {XK_KP_Prior, "Num 9"},
      {XK_KP_Next, "Num 3"},
      {XK_KP_End, "Num 1"},
      {XK_KP_Begin, "Num 5"},
      {XK_KP_Insert, "Num 0"},
      {XK_KP_Delete, "Num Del"},
      {XK_KP_Equal, "Num ="},
      {XK_KP_Multiply, "Num *"},
      {XK_KP_Add, "Num +"},
      {XK_KP_Separator, "Num ,"},
      {XK_KP_Subtract, "Num -"},
      {XK_KP_Decimal, "Num ."},
      {XK_KP_Divide, "Num /"},
      {XK_Hangul, "Hangul"},
      {XK_Hangul_Hanja, "Hanja"},
      {XK_Kanji, "Kanji"},
      {XK_Kana_Lock, "Kana"},
      {XK_Henkan_Mode, "Convert"},
      {XK_Muhenkan, "Nonconvert"},
      {XF86XK_Back, "Browser Back"},
      {XF86XK_Forward, "Browser Forward"},
      {XF86XK_Refresh, "Browser Refresh"},
      {XF86XK_Reload, "Browser Refresh"},
      {XF86XK_Stop, "Browser Stop"},
      {XF86XK_Search, "Browser Search"},
      {XF86XK_Favorites, "Browser Favorites"},
      {XF86XK_HomePage, "Browser Home"},
      {XF86XK_AudioMute, "Volume Mute"},
      {XF86XK_AudioLowerVolume, "Volume Down"},
      {XF86XK_AudioRaiseVolume, "Volume Up"},
      {XF86XK_AudioNext, "Next Track"},
      {XF86XK_AudioPrev, "Previous Track"},
      {XF86XK_AudioStop, "Stop Media"},
      {XF86XK_AudioPlay, "Play/Pause"},
      {XF86XK_AudioPause, "Play/Pause"},
      {XF86XK_Mail, "Mail"},
      {XF86XK_AudioMedia, "Select Media"},
      {XF86XK_MyComputer, "My Computer"},
      {XF86XK_Explorer, "My Computer"},
      {XF86XK_Calculator, "Calculator"},
      {XF86XK_Sleep, "Sleep"},
      // A name starting with "^" would read back as the Ctrl prefix.
      {XK_asciicircum, "Circumflex"},
  };
  return names;
}

// Dead keys type nothing themselves; name them by their accent.
const std::unordered_map<Keysym, const char*>& DeadKeyNames() {
  static const std::unordered_map<Keysym, const char*> names = {
      {XK_dead_grave, "Grave"},
      {XK_dead_acute, "Acute"},
      {XK_dead_circumflex, "Circumflex"},
      {XK_dead_tilde, "Tilde"},
      {XK_dead_macron, "Macron"},
      {XK_dead_breve, "Breve"},
      {XK_dead_abovedot, "Dot Above"},
      {XK_dead_diaeresis, "Diaeresis"},
      {XK_dead_abovering, "Ring"},
      {XK_dead_doubleacute, "Double Acute"},
      {XK_dead_caron, "Caron"},
      {XK_dead_cedilla, "Cedilla"},
      {XK_dead_ogonek, "Ogonek"},
      {XK_dead_iota, "Iota"},
      {XK_dead_belowdot, "Dot Below"},
      {XK_dead_hook, "Hook"},
      {XK_dead_horn, "Horn"},
      {XK_dead_stroke, "Stroke"},
  };
  return names;
}

// A byte of an 8-bit character set, through Qt's converters; 0 when the set
// is unknown to this Qt or the byte is unassigned.
char32_t DecodeByte(const char* charset, unsigned byte) {
  QStringDecoder decoder(charset);
  if (!decoder.isValid()) return 0;
  const char text[1] = {static_cast<char>(byte)};
  const QString decoded = decoder(QByteArrayView(text, 1));
  if (decoded.size() != 1 || decoded.at(0) == QChar::ReplacementCharacter) return 0;
  return decoded.at(0).unicode();
}

// The Cyrillic symbols in 0x6C0..0x6FF follow KOI8-R's order; those below are
// the letters of the other Cyrillic scripts.
constexpr char16_t kCyrillicLow[] = u"ђѓёєѕіїјљњћќґўџ№ЂЃЁЄЅІЇЈЉЊЋЌҐЎЏ";
constexpr char16_t kCyrillicKoi8[] =
    u"юабцдефгхийклмнопярстужвьызшэщчъЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ";
// Greek capitals from 0x7C1 and small letters from 0x7E1; "\0" marks the
// unused places.
constexpr char16_t kGreekCapitals[] = u"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣ\0ΤΥΦΧΨΩ";
constexpr char16_t kGreekSmall[] = u"αβγδεζηθικλμνξοπρσςτυφχψω";

}  // namespace

char32_t KeysymToUnicode(Keysym keysym) {
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) return keysym;
  // Symbols for any Unicode character.
  if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) return keysym - 0x01000000;
  if (keysym >= 0x1A1 && keysym <= 0x1FF) return DecodeByte("ISO-8859-2", keysym & 0xFF);
  if (keysym >= 0x2A1 && keysym <= 0x2FE) return DecodeByte("ISO-8859-3", keysym & 0xFF);
  if (keysym >= 0x3A2 && keysym <= 0x3FE) return DecodeByte("ISO-8859-4", keysym & 0xFF);
  if (keysym >= 0x4A1 && keysym <= 0x4DF) {
    // The kana symbols follow JIS X 0201's half-width katakana; X means the
    // full-width forms, which compatibility normalisation gives (but for the
    // two sound marks, which it turns into combining marks).
    if (keysym == 0x4DE) return 0x309B;
    if (keysym == 0x4DF) return 0x309C;
    const char32_t half_width = 0xFF61 + (keysym - 0x4A1);
    const QString full_width =
        QString::fromUcs4(&half_width, 1).normalized(QString::NormalizationForm_KC);
    return full_width.size() == 1 ? full_width.at(0).unicode() : half_width;
  }
  if (keysym >= 0x5AC && keysym <= 0x5F2) return DecodeByte("ISO-8859-6", keysym & 0xFF);
  if (keysym >= 0x6A1 && keysym <= 0x6BF) {
    // 0x6A1..0x6AF small letters, 0x6B0 the numero sign, 0x6B1..0x6BF capitals.
    return kCyrillicLow[keysym - 0x6A1];
  }
  if (keysym >= 0x6C0 && keysym <= 0x6FF) return kCyrillicKoi8[keysym - 0x6C0];
  if (keysym >= 0x7C1 && keysym <= 0x7D9) return kGreekCapitals[keysym - 0x7C1];
  if (keysym >= 0x7E1 && keysym <= 0x7F9) return kGreekSmall[keysym - 0x7E1];
  if (keysym >= 0xCDF && keysym <= 0xCFA) return DecodeByte("ISO-8859-8", keysym & 0xFF);
  if (keysym >= 0xDA1 && keysym <= 0xDF9) return DecodeByte("TIS-620", keysym & 0xFF);
  switch (keysym) {
    case 0x13BC:
      return 0x152;  // OE
    case 0x13BD:
      return 0x153;  // oe
    case 0x13BE:
      return 0x178;  // Y diaeresis
    case XK_EuroSign:
      return 0x20AC;
    default:
      return 0;
  }
}

QString KeysymDisplayName(Keysym keysym) {
  if (keysym == 0) return {};
  const auto& special = SpecialNames();
  if (auto it = special.find(keysym); it != special.end()) return QString::fromLatin1(it->second);
  const auto& dead = DeadKeyNames();
  if (auto it = dead.find(keysym); it != dead.end()) return QString::fromLatin1(it->second);
  if (keysym >= XK_F1 && keysym <= XK_F35) return QStringLiteral("F%1").arg(keysym - XK_F1 + 1);
  const char32_t character = KeysymToUnicode(keysym);
  if (character != 0 && QChar::isPrint(character) && !QChar::isSpace(character)) {
    // Windows names character keys by their capital, as printed on the key.
    const char32_t capital = QChar::toUpper(character);
    return QString::fromUcs4(&capital, 1);
  }
  // Anything else by its X name ("XF86WakeUp"), which X gives for every symbol.
  if (const char* x_name = XKeysymToString(keysym)) return QString::fromLatin1(x_name);
  return QStringLiteral("0x%1").arg(keysym, 0, 16);
}

}  // namespace voxmere
