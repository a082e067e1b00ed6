// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/hot_key_registrar.h"
#include "platform/x11/key_map.h"

namespace voxmere {

// System-wide hot keys on X11: a combination is a passive key grab on the
// root window, made for each key of the virtual-key code (a symbol can sit on
// several keys, e.g. Enter and keypad Enter; every one is grabbed) and for
// each state of CapsLock and NumLock, since X matches those as modifiers too.
// A combination that any part of it cannot get (another client holds it, or
// it is already one of ours) is refused with nothing left grabbed. Presses
// reach the press handler from the event loop, after the key event that
// carried them, as the Windows program received its hot key messages.
//
// The keys of a registration are found when it is made; a keyboard mapping
// changed later applies from the next registration on.
class X11HotKeyRegistrar : public HotKeyRegistrar, private QAbstractNativeEventFilter {
 public:
  // The Windows key's modifier flag, which the program itself never passes.
  static constexpr unsigned kModWin = 8;

  // Uses Qt's X connection; without one every registration is refused.
  X11HotKeyRegistrar();
  ~X11HotKeyRegistrar() override;
  X11HotKeyRegistrar(const X11HotKeyRegistrar&) = delete;
  X11HotKeyRegistrar& operator=(const X11HotKeyRegistrar&) = delete;

  bool RegisterHotKey(int identifier, unsigned modifiers, unsigned virtual_key) override;
  void UnregisterHotKey(int identifier) override;
  void SetPressHandler(PressHandler handler) override { handler_ = std::move(handler); }

  // Whether there is an X server to register with.
  bool Available() const { return connection_ != nullptr; }

 private:
  struct Grab {
    std::uint32_t root;
    Keycode keycode;
    std::uint16_t modifiers;
    bool operator==(const Grab&) const = default;
  };
  struct Registration {
    std::vector<Keycode> keycodes;
    std::uint16_t modifiers = 0;  // X modifier bits, without the lock variants
    std::vector<Grab> grabs;
  };

  bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;
  bool HeldByUs(const Grab& grab) const;
  // Returns once the server has handled what was sent before.
  void WaitUntilDone();
  void Ungrab(const std::vector<Grab>& grabs);
  void ForgetConnection();

  xcb_connection_t* connection_ = nullptr;
  std::map<int, Registration> registrations_;
  PressHandler handler_;
  // Context of the queued press deliveries, so none outlives the registrar,
  // and of the hook that lets go of the connection when the application ends.
  QObject context_;
};

}  // namespace voxmere
