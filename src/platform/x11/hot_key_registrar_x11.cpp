// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/hot_key_registrar_x11.h"
#include "platform/x11/qt_x11_display.h"
#include "platform/x11/x11_log.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <cstdlib>

namespace voxmere {
namespace {

// The modifiers a press must match exactly; the lock modifiers (CapsLock,
// NumLock, ScrollLock's Mod3 or Mod5 on some servers) are left out.
constexpr std::uint16_t kMatchedModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

std::uint16_t XModifiers(unsigned modifiers) {
  std::uint16_t x_modifiers = 0;
  if (modifiers & HotKeyRegistrar::kModAlt) x_modifiers |= XCB_MOD_MASK_1;
  if (modifiers & HotKeyRegistrar::kModControl) x_modifiers |= XCB_MOD_MASK_CONTROL;
  if (modifiers & HotKeyRegistrar::kModShift) x_modifiers |= XCB_MOD_MASK_SHIFT;
  if (modifiers & X11HotKeyRegistrar::kModWin) x_modifiers |= XCB_MOD_MASK_4;
  return x_modifiers;
}

}  // namespace

X11HotKeyRegistrar::X11HotKeyRegistrar() : connection_(QtX11Connection()) {
  if (connection_ == nullptr) {
    qCWarning(X11Log, "Hot keys cannot be registered: Qt runs without an X connection");
    return;
  }
  QCoreApplication* app = QCoreApplication::instance();
  app->installNativeEventFilter(this);
  // Qt closes its connection before the application object is gone; from
  // then on the grabs are gone with it and the connection must not be used.
  QObject::connect(app, &QObject::destroyed, &context_, [this] { ForgetConnection(); });
}

X11HotKeyRegistrar::~X11HotKeyRegistrar() {
  if (connection_ == nullptr) return;
  for (const auto& [identifier, registration] : registrations_) Ungrab(registration.grabs);
  WaitUntilDone();
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
}

void X11HotKeyRegistrar::ForgetConnection() {
  connection_ = nullptr;
  registrations_.clear();
}

bool X11HotKeyRegistrar::RegisterHotKey(int identifier, unsigned modifiers, unsigned virtual_key) {
  constexpr unsigned kKnownModifiers = kModAlt | kModControl | kModShift | kModWin;
  if (connection_ == nullptr || virtual_key > 255 || (modifiers & ~kKnownModifiers) != 0 ||
      registrations_.count(identifier) != 0) {
    qCWarning(X11Log, "Hot key 0x%02X (modifiers 0x%X) refused: %s", virtual_key, modifiers,
              connection_ == nullptr                  ? "there is no X connection"
              : virtual_key > 255                     ? "no such key"
              : registrations_.count(identifier) != 0 ? "its identifier is taken"
                                                      : "unknown modifiers");
    return false;
  }
  // Read the mapping afresh: registrations are rare, and a layout switched
  // since the last one must be honoured.
  const KeyboardMap map = FetchKeyboardMap(connection_);
  Registration registration;
  registration.keycodes = map.KeycodesOfVirtualKey(static_cast<int>(virtual_key));
  registration.modifiers = XModifiers(modifiers);
  if (registration.keycodes.empty()) {
    // Key 0 is "no hot key", not a failure.
    if (virtual_key != 0) {
      qCWarning(X11Log, "Hot key 0x%02X refused: the keyboard layout has no key for it",
                virtual_key);
    }
    return false;
  }

  const std::uint16_t num_lock = FetchNumLockMask(connection_, map);
  std::vector<std::uint16_t> variants = {0, XCB_MOD_MASK_LOCK};
  if (num_lock != 0 && num_lock != XCB_MOD_MASK_LOCK) {
    variants.push_back(num_lock);
    variants.push_back(num_lock | XCB_MOD_MASK_LOCK);
  }
  std::vector<Grab> wanted;
  for (auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection_)); roots.rem;
       xcb_screen_next(&roots)) {
    for (Keycode keycode : registration.keycodes) {
      for (std::uint16_t variant : variants) {
        wanted.push_back({roots.data->root, keycode,
                          static_cast<std::uint16_t>(registration.modifiers | variant)});
      }
    }
  }
  // X lets a client grab what it already holds, so our own hot keys are
  // checked here; other clients' grabs fail with BadAccess below.
  if (std::any_of(wanted.begin(), wanted.end(), [this](const Grab& g) { return HeldByUs(g); })) {
    qCWarning(X11Log, "Hot key 0x%02X (modifiers 0x%X) refused: another of our hot keys has it",
              virtual_key, modifiers);
    return false;
  }

  std::vector<xcb_void_cookie_t> cookies;
  cookies.reserve(wanted.size());
  for (const Grab& grab : wanted) {
    cookies.push_back(xcb_grab_key_checked(connection_, /*owner_events=*/0, grab.root,
                                           grab.modifiers, grab.keycode, XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC));
  }
  bool refused = false;
  int error_code = 0;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    if (xcb_generic_error_t* error = xcb_request_check(connection_, cookies[i])) {
      // BadAccess when another client holds it; any other error refuses it
      // just the same.
      refused = true;
      error_code = error->error_code;
      std::free(error);
    } else {
      registration.grabs.push_back(wanted[i]);
    }
  }
  if (refused) {
    qCWarning(X11Log, "Hot key 0x%02X (modifiers 0x%X) refused by the X server: %s (error %d)",
              virtual_key, modifiers,
              error_code == XCB_ACCESS ? "another program holds the combination" : "grab failed",
              error_code);
    // Release only what this attempt got: nothing else of it is ours.
    Ungrab(registration.grabs);
    xcb_flush(connection_);
    return false;
  }
  registrations_.emplace(identifier, std::move(registration));
  return true;
}

void X11HotKeyRegistrar::UnregisterHotKey(int identifier) {
  auto it = registrations_.find(identifier);
  if (it == registrations_.end()) return;
  if (connection_ != nullptr) {
    Ungrab(it->second.grabs);
    WaitUntilDone();
  }
  registrations_.erase(it);
}

bool X11HotKeyRegistrar::HeldByUs(const Grab& grab) const {
  for (const auto& [identifier, registration] : registrations_) {
    if (std::find(registration.grabs.begin(), registration.grabs.end(), grab) !=
        registration.grabs.end()) {
      return true;
    }
  }
  return false;
}

void X11HotKeyRegistrar::WaitUntilDone() {
  // A reply comes only after the server has handled every earlier request,
  // so the released keys are free for other programs once this returns (a
  // flush alone only sends the requests).
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

void X11HotKeyRegistrar::Ungrab(const std::vector<Grab>& grabs) {
  for (const Grab& grab : grabs) {
    xcb_ungrab_key(connection_, grab.keycode, grab.root, grab.modifiers);
  }
}

bool X11HotKeyRegistrar::nativeEventFilter(const QByteArray& event_type, void* message, qintptr*) {
  if (event_type != "xcb_generic_event_t" || registrations_.empty()) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
  const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
  const std::uint16_t state = press->state & kMatchedModifiers;
  for (const auto& [identifier, registration] : registrations_) {
    if (state != registration.modifiers ||
        std::find(registration.keycodes.begin(), registration.keycodes.end(), press->detail) ==
            registration.keycodes.end()) {
      continue;
    }
    // The handler runs from the event loop, not inside Qt's event
    // processing: it may pump events, or release this very hot key. A press
    // whose registration is gone by then is dropped.
    QMetaObject::invokeMethod(
        &context_,
        [this, id = identifier] {
          if (registrations_.count(id) != 0 && handler_) handler_(id);
        },
        Qt::QueuedConnection);
    return true;  // the key is the hot key's, not the focused window's
  }
  return false;
}

}  // namespace voxmere
