// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <ostream>

#include "support/wait_until.h"

struct xcb_connection_t;

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace voxmere::x11_test {

// Runs the event loop until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 5000) {
  return test_support::WaitUntil(condition, std::chrono::milliseconds(timeout_ms));
}

// Runs `xdotool key KEYS...`; true when it succeeded.
bool XdoKey(const QString& keys);

// The keyboard's current modifier and lock state (core modifier bits).
std::uint16_t ModifierState();

// Brings CapsLock and NumLock into the wanted state with their own keys.
bool SetLocks(bool caps_lock, bool num_lock);
std::uint16_t NumLockMask();

// Switches the keyboard layout with setxkbmap; false when that fails.
bool SetLayout(const QString& layout);

// A second X client: its own connection to the same server.
class OtherClient {
 public:
  OtherClient();
  ~OtherClient();
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  bool connected() const;
  // Grabs a key combination on the root window; false when the server
  // refuses it (someone else holds it).
  bool Grab(std::uint8_t keycode, std::uint16_t modifiers);
  void Ungrab(std::uint8_t keycode, std::uint16_t modifiers);
  // The key code that shows a key symbol on the server's current keyboard.
  std::uint8_t KeycodeOf(std::uint32_t keysym);

 private:
  xcb_connection_t* connection_ = nullptr;
  std::uint32_t root_ = 0;
};

}  // namespace voxmere::x11_test
