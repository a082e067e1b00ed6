// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_event_conversion_x11.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <QInputDevice>
#include <QKeyEvent>

#include "keyboard_maps.h"
#include "reading/short_cut.h"

namespace voxmere {
namespace {

// The hot key field hands the shift state on to the reading code's MakeShortCut.
static_assert(VirtualKeyPress::kShift == kShiftKey);
static_assert(VirtualKeyPress::kCtrl == kCtrlKey);
static_assert(VirtualKeyPress::kAlt == kAltKey);

constexpr unsigned kShift = VirtualKeyPress::kShift;
constexpr unsigned kCtrl = VirtualKeyPress::kCtrl;
constexpr unsigned kAlt = VirtualKeyPress::kAlt;

// A key press as Qt's xcb plugin reports it.
VirtualKeyPress Press(int qt_key, Qt::KeyboardModifiers modifiers, quint32 keycode,
                      quint32 keysym) {
  // A device of the test's own: Qt's default one is made once and never
  // freed when there is no application.
  const QInputDevice keyboard;
  const QKeyEvent event(QEvent::KeyPress, qt_key, modifiers, keycode, keysym, 0, QString(), false,
                        1, &keyboard);
  // Taken apart as the hot key field does: QKeyEvent adds a modifier key's
  // own modifier.
  return X11KeyEventConversion().VirtualKeyOf(
      {event.key(), event.modifiers(), event.nativeScanCode(), event.nativeVirtualKey()});
}

TEST(KeyEventConversion, UsKeyboardPresses) {
  EXPECT_EQ(Press(Qt::Key_Backspace, Qt::ControlModifier, 22, XK_BackSpace),
            (VirtualKeyPress{0x08, kCtrl}));
  EXPECT_EQ(Press(Qt::Key_F11, Qt::ControlModifier | Qt::AltModifier, 95, XK_F11),
            (VirtualKeyPress{0x7A, kCtrl | kAlt}));
  EXPECT_EQ(Press(Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier, 38, XK_A),
            (VirtualKeyPress{0x41, kShift | kCtrl}));
  // Shift+1 types "!", the key stays 1.
  EXPECT_EQ(Press(Qt::Key_Exclam, Qt::ShiftModifier, 10, XK_exclam),
            (VirtualKeyPress{0x31, kShift}));
  EXPECT_EQ(Press(Qt::Key_Colon, Qt::ShiftModifier, 47, XK_colon), (VirtualKeyPress{0xBA, kShift}));
  EXPECT_EQ(Press(Qt::Key_Backtab, Qt::ShiftModifier, 23, XK_ISO_Left_Tab),
            (VirtualKeyPress{0x09, kShift}));
  EXPECT_EQ(Press(Qt::Key_Insert, Qt::AltModifier, 118, XK_Insert), (VirtualKeyPress{0x2D, kAlt}));
  // The Windows key has no bit of its own.
  EXPECT_EQ(Press(Qt::Key_A, Qt::MetaModifier, 38, XK_a), (VirtualKeyPress{0x41, 0}));
  // A key without a virtual-key code.
  EXPECT_EQ(Press(Qt::Key_WakeUp, Qt::NoModifier, 151, 0x1008FF2B), (VirtualKeyPress{0, 0}));
}

TEST(KeyEventConversion, KeypadAndModifierKeys) {
  const auto keypad = Qt::KeypadModifier;
  EXPECT_EQ(Press(Qt::Key_5, keypad | Qt::ControlModifier, 84, XK_KP_5),
            (VirtualKeyPress{0x65, kCtrl}));
  EXPECT_EQ(Press(Qt::Key_0, keypad, 90, XK_KP_0), (VirtualKeyPress{0x60, 0}));
  EXPECT_EQ(Press(Qt::Key_9, keypad, 81, XK_KP_9), (VirtualKeyPress{0x69, 0}));
  // NumLock off: the keys act, and are reported, as navigation keys.
  EXPECT_EQ(Press(Qt::Key_Clear, keypad, 84, XK_KP_Begin), (VirtualKeyPress{0x0C, 0}));
  EXPECT_EQ(Press(Qt::Key_Insert, keypad, 90, XK_KP_Insert), (VirtualKeyPress{0x2D, 0}));
  EXPECT_EQ(Press(Qt::Key_Asterisk, keypad, 63, XK_KP_Multiply), (VirtualKeyPress{0x6A, 0}));
  EXPECT_EQ(Press(Qt::Key_Enter, keypad, 104, XK_KP_Enter), (VirtualKeyPress{0x0D, 0}));
  // A modifier alone gives its plain code. X reports the state before the
  // press, and Qt adds the key's own modifier; the field drops that bit.
  EXPECT_EQ(Press(Qt::Key_Control, Qt::NoModifier, 105, XK_Control_R),
            (VirtualKeyPress{0x11, kCtrl}));
  EXPECT_EQ(Press(Qt::Key_Shift, Qt::ControlModifier, 50, XK_Shift_L),
            (VirtualKeyPress{0x10, kShift | kCtrl}));
  EXPECT_EQ(Press(Qt::Key_Alt, Qt::NoModifier, 64, XK_Alt_L), (VirtualKeyPress{0x12, kAlt}));
}

TEST(KeyEventConversion, OtherLayoutsGiveTheCodesTheirKeysRegisterUnder) {
  // German: the Ö key is the US semicolon's; "-" sits at the US slash.
  EXPECT_EQ(Press(0xD6, Qt::ControlModifier, 47, XK_odiaeresis), (VirtualKeyPress{0xBA, kCtrl}));
  EXPECT_EQ(Press(Qt::Key_Minus, Qt::NoModifier, 61, XK_minus), (VirtualKeyPress{0xBF, 0}));
  EXPECT_EQ(Press(Qt::Key_Z, Qt::NoModifier, 29, XK_z), (VirtualKeyPress{0x5A, 0}));
  // French: M sits at the US semicolon's place and is the letter M.
  EXPECT_EQ(Press(Qt::Key_M, Qt::NoModifier, 47, XK_m), (VirtualKeyPress{0x4D, 0}));
  // French digits are shifted; unshifted the key types "&" and is still 1.
  EXPECT_EQ(Press(Qt::Key_Ampersand, Qt::NoModifier, 10, XK_ampersand), (VirtualKeyPress{0x31, 0}));
  // Russian: letters by their US place.
  EXPECT_EQ(Press(0x0424, Qt::NoModifier, 38, XK_Cyrillic_ef), (VirtualKeyPress{0x41, 0}));
}

TEST(KeyEventConversion, EveryKeyPressedNamesACodeThatRegistersThatKey) {
  // What the field shows must grab the key the user pressed.
  for (const KeyboardMap& map : {test_maps::UsKeys().Build(), test_maps::GermanKeys().Build()}) {
    for (int keycode = 8; keycode <= 255; ++keycode) {
      for (int column : {0, 1}) {
        const Keysym keysym = map.KeysymAt(static_cast<Keycode>(keycode), column);
        // Keypad keys with NumLock off are the navigation keys, as on Windows,
        // and register those.
        if (keysym == 0 || keysym == XK_KP_Insert || keysym == XK_KP_Delete) continue;
        const VirtualKeyPress press = VirtualKeyOfKey(0, {}, keycode, keysym);
        if (press.virtual_key == 0) continue;
        const auto keys = map.KeycodesOfVirtualKey(press.virtual_key);
        EXPECT_NE(std::find(keys.begin(), keys.end(), keycode), keys.end())
            << "key code " << keycode << " column " << column << " gives 0x" << std::hex
            << press.virtual_key;
      }
    }
  }
}

TEST(KeyEventConversion, WithoutNativeDataQtsKeyDecides) {
  EXPECT_EQ(VirtualKeyOfKey(Qt::Key_F11, Qt::ControlModifier, 0, 0),
            (VirtualKeyPress{0x7A, kCtrl}));
  EXPECT_EQ(VirtualKeyOfKey(Qt::Key_5, Qt::KeypadModifier, 0, 0), (VirtualKeyPress{0x65, 0}));
  EXPECT_EQ(VirtualKeyOfKey(Qt::Key_5, Qt::NoModifier, 0, 0), (VirtualKeyPress{0x35, 0}));
  EXPECT_EQ(VirtualKeyOfKey(Qt::Key_Backspace, Qt::NoModifier, 0, 0), (VirtualKeyPress{0x08, 0}));
  EXPECT_EQ(VirtualKeyOfKey(Qt::Key_Minus, Qt::KeypadModifier, 0, 0), (VirtualKeyPress{0x6D, 0}));
  EXPECT_EQ(VirtualKeyOfKey(Qt::Key_Minus, Qt::NoModifier, 0, 0), (VirtualKeyPress{0xBD, 0}));
  EXPECT_EQ(VirtualKeyOfKey(Qt::Key_Control, Qt::ControlModifier, 0, 0),
            (VirtualKeyPress{0x11, kCtrl}));
  EXPECT_EQ(VirtualKeyOfKey(Qt::Key_Exclam, Qt::ShiftModifier, 0, 0), (VirtualKeyPress{0, kShift}));
}

}  // namespace
}  // namespace voxmere
