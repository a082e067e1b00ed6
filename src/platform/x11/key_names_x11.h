// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QString>
#include <array>
#include <optional>

#include "platform/key_names.h"
#include "platform/x11/key_map.h"

namespace voxmere {

// The current X keyboard layout's key names: a key is named by the symbol its
// key shows (";" on a US keyboard, "Ö" on a German one at the same place;
// "Num *", "Caps Lock", "Ctrl" for keys without a character). Names are kept
// until the server announces a new keyboard mapping. Without an X connection
// the names of a US keyboard are used.
class X11KeyNames : public KeyNames, private QAbstractNativeEventFilter {
 public:
  // Uses Qt's X connection when there is one.
  X11KeyNames();
  ~X11KeyNames() override;
  X11KeyNames(const X11KeyNames&) = delete;
  X11KeyNames& operator=(const X11KeyNames&) = delete;

  QString KeyName(int virtual_key) const override;

  // Forgets the names, so the next ones are read from the server's mapping.
  void Refresh();

 private:
  bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;
  void ForgetConnection();

  xcb_connection_t* connection_ = nullptr;
  // The first event code of the keyboard extension, whose map-change events
  // Qt's connection receives in place of the core ones; 0 without it.
  std::uint8_t xkb_first_event_ = 0;
  mutable std::optional<KeyboardMap> map_;
  mutable std::array<std::optional<QString>, 256> names_;
  // Lets go of the connection when the application (and with it the
  // connection) goes away first.
  QObject context_;
};

// The name of a virtual-key code on a given keyboard, as X11KeyNames gives it;
// a US keyboard's name when the map is empty (no X server).
QString KeyNameOn(const KeyboardMap& map, int virtual_key);

}  // namespace voxmere
