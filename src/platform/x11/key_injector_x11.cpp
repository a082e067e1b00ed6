// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_injector_x11.h"

#include "platform/x11/qt_x11_display.h"
#include "platform/x11/x11_log.h"

// Xlib after Qt: its macros (Status, Bool) break Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <vector>

namespace voxmere {
namespace {

// The key symbols a virtual key may be typed on, the usual one first.
std::vector<KeySym> KeySymsOf(int virtual_key) {
  if (virtual_key >= 'A' && virtual_key <= 'Z')
    return {static_cast<KeySym>(XK_a + (virtual_key - 'A'))};
  if (virtual_key >= '0' && virtual_key <= '9')
    return {static_cast<KeySym>(XK_0 + (virtual_key - '0'))};
  switch (virtual_key) {
    case 0x10:
      return {XK_Shift_L, XK_Shift_R};
    case 0x11:
      return {XK_Control_L, XK_Control_R};
    case 0x12:
      return {XK_Alt_L, XK_Alt_R};
    default:
      return {};
  }
}

bool IsLockKey(KeySym symbol) {
  return symbol == XK_Caps_Lock || symbol == XK_Shift_Lock || symbol == XK_Num_Lock ||
         symbol == XK_Scroll_Lock;
}

}  // namespace

X11KeyInjector::X11KeyInjector() {
  const QByteArray name = QtX11DisplayName();
  if (name.isEmpty()) {
    qCWarning(X11Log, "Ctrl+C cannot be typed for a capture: Qt runs without an X display");
    return;
  }
  display_ = XOpenDisplay(name.constData());
  if (display_ == nullptr) {
    qCWarning(X11Log, "Ctrl+C cannot be typed for a capture: the display %s cannot be opened",
              name.constData());
    return;
  }
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display_, &event_base, &error_base, &major, &minor)) {
    qCWarning(X11Log, "Ctrl+C cannot be typed for a capture: the X server has no XTest extension");
    XCloseDisplay(display_);
    display_ = nullptr;
  }
}

X11KeyInjector::~X11KeyInjector() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

void X11KeyInjector::EndKeyboardGrab() {
  // An active grab belongs to the connection that made it: Qt's, which grabbed
  // the hot key.
  xcb_connection_t* connection = QtX11Connection();
  if (connection == nullptr) return;
  xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
  xcb_flush(connection);
}

void X11KeyInjector::ReleaseHeldModifiers() {
  if (display_ == nullptr) return;
  char keys[32] = {};
  XQueryKeymap(display_, keys);
  XModifierKeymap* modifiers = XGetModifierMapping(display_);
  if (modifiers == nullptr) return;
  released_.clear();
  for (int modifier = 0; modifier < 8; ++modifier) {
    if (modifier == LockMapIndex) continue;
    for (int i = 0; i < modifiers->max_keypermod; ++i) {
      const KeyCode code = modifiers->modifiermap[modifier * modifiers->max_keypermod + i];
      if (code == 0 || (keys[code / 8] & (1 << (code % 8))) == 0) continue;
      // A held lock key (NumLock on Mod2) toggles nothing when released, but
      // leave it to the user all the same.
      if (IsLockKey(XkbKeycodeToKeysym(display_, code, 0, 0))) continue;
      if (released_.insert(code).second) XTestFakeKeyEvent(display_, code, False, CurrentTime);
    }
  }
  XFreeModifiermap(modifiers);
  XSync(display_, False);
}

KeyCode X11KeyInjector::KeyCodeFor(int virtual_key) const {
  KeyCode usable = 0;
  for (const KeySym symbol : KeySymsOf(virtual_key)) {
    const KeyCode code = XKeysymToKeycode(display_, symbol);
    if (code == 0) continue;
    if (released_.count(code) == 0) return code;
    if (usable == 0) usable = code;
  }
  // Every key for it is held: typed on the usual one, as before.
  return usable;
}

void X11KeyInjector::KeyEvent(int virtual_key, bool key_up) {
  if (display_ == nullptr) return;
  KeyCode code = 0;
  if (const auto down = pressed_.find(virtual_key); key_up && down != pressed_.end()) {
    code = down->second;
    pressed_.erase(down);
  } else {
    code = KeyCodeFor(virtual_key);
    if (!key_up && code != 0) pressed_[virtual_key] = code;
  }
  if (code == 0) {
    qCWarning(X11Log, "Key 0x%02X not typed: the keyboard layout has no key for it", virtual_key);
    return;
  }
  XTestFakeKeyEvent(display_, code, key_up ? False : True, CurrentTime);
  // Each event reaches the server before we go on, so the focused
  // application sees them before our wait begins.
  XSync(display_, False);
}

}  // namespace voxmere
