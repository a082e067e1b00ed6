// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/key_names_x11.h"
#include "platform/x11/qt_x11_display.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/x11/key_symbol_names.h"

namespace voxmere {
namespace {

constexpr std::uint8_t kXkbNewKeyboardNotify = 0;
constexpr std::uint8_t kXkbMapNotify = 1;

std::uint8_t XkbFirstEvent(xcb_connection_t* connection) {
  static constexpr char kName[] = "XKEYBOARD";
  std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
      xcb_query_extension_reply(
          connection, xcb_query_extension(connection, std::strlen(kName), kName), nullptr),
      &std::free);
  return reply && reply->present ? reply->first_event : 0;
}

}  // namespace

QString KeyNameOn(const KeyboardMap& map, int virtual_key) {
  const VirtualKeyInfo* info = FindVirtualKey(virtual_key);
  if (info == nullptr) return {};
  if (map.Empty()) return KeysymDisplayName(info->keysyms[0]);
  const std::vector<Keycode> keycodes = map.KeycodesOfVirtualKey(virtual_key);
  if (keycodes.empty()) return {};
  return KeysymDisplayName(map.ShownKeysym(keycodes.front()));
}

X11KeyNames::X11KeyNames() : connection_(QtX11Connection()) {
  if (connection_ == nullptr) return;
  xkb_first_event_ = XkbFirstEvent(connection_);
  QCoreApplication* app = QCoreApplication::instance();
  app->installNativeEventFilter(this);
  QObject::connect(app, &QObject::destroyed, &context_, [this] { ForgetConnection(); });
}

X11KeyNames::~X11KeyNames() {
  if (connection_ != nullptr && QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
}

void X11KeyNames::ForgetConnection() {
  connection_ = nullptr;
  Refresh();
}

QString X11KeyNames::KeyName(int virtual_key) const {
  if (virtual_key <= 0 || virtual_key > 255) return {};
  std::optional<QString>& name = names_[virtual_key];
  if (!name) {
    if (!map_) map_ = FetchKeyboardMap(connection_);
    name = KeyNameOn(*map_, virtual_key);
  }
  return *name;
}

void X11KeyNames::Refresh() {
  map_.reset();
  names_.fill(std::nullopt);
}

bool X11KeyNames::nativeEventFilter(const QByteArray& event_type, void* message, qintptr*) {
  if (event_type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  const std::uint8_t type = event->response_type & 0x7f;
  if (type == XCB_MAPPING_NOTIFY) {
    const auto* mapping = reinterpret_cast<const xcb_mapping_notify_event_t*>(event);
    if (mapping->request != XCB_MAPPING_POINTER) Refresh();
  } else if (xkb_first_event_ != 0 && type == xkb_first_event_) {
    // The keyboard extension's events share one code; the second byte says
    // which one it is.
    const std::uint8_t xkb_type = reinterpret_cast<const std::uint8_t*>(event)[1];
    if (xkb_type == kXkbNewKeyboardNotify || xkb_type == kXkbMapNotify) Refresh();
  }
  return false;  // Qt needs these events too
}

}  // namespace voxmere
