// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11_test_env.h"

#include <xcb/xcb.h>

#include <QProcess>
#include <cstdlib>
#include <memory>

#include "platform/x11/key_map.h"
#include "platform/x11/qt_x11_display.h"

namespace voxmere::x11_test {

namespace {
bool Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(20000)) return false;
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
}  // namespace

bool XdoKey(const QString& keys) {
  QStringList arguments = {QStringLiteral("key")};
  arguments += keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  return Run(QStringLiteral("xdotool"), arguments);
}

std::uint16_t ModifierState() {
  xcb_connection_t* connection = QtX11Connection();
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
      xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr),
      &std::free);
  return reply ? reply->mask & 0xFF : 0;
}

std::uint16_t NumLockMask() {
  xcb_connection_t* connection = QtX11Connection();
  return FetchNumLockMask(connection, FetchKeyboardMap(connection));
}

bool SetLocks(bool caps_lock, bool num_lock) {
  const std::uint16_t num_mask = NumLockMask();
  const auto is_on = [](std::uint16_t mask) { return (ModifierState() & mask) != 0; };
  if (is_on(XCB_MOD_MASK_LOCK) != caps_lock && !XdoKey(QStringLiteral("Caps_Lock"))) return false;
  if (is_on(num_mask) != num_lock && !XdoKey(QStringLiteral("Num_Lock"))) return false;
  return WaitFor(
      [&] { return is_on(XCB_MOD_MASK_LOCK) == caps_lock && is_on(num_mask) == num_lock; });
}

bool SetLayout(const QString& layout) {
  return Run(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), layout});
}

OtherClient::OtherClient() {
  connection_ = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection_) != 0) return;
  root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

OtherClient::~OtherClient() { xcb_disconnect(connection_); }

bool OtherClient::connected() const { return xcb_connection_has_error(connection_) == 0; }

bool OtherClient::Grab(std::uint8_t keycode, std::uint16_t modifiers) {
  xcb_generic_error_t* error = xcb_request_check(
      connection_, xcb_grab_key_checked(connection_, 0, root_, modifiers, keycode,
                                        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  std::free(error);
  return error == nullptr;
}

void OtherClient::Ungrab(std::uint8_t keycode, std::uint16_t modifiers) {
  std::free(xcb_request_check(connection_,
                              xcb_ungrab_key_checked(connection_, keycode, root_, modifiers)));
}

std::uint8_t OtherClient::KeycodeOf(std::uint32_t keysym) {
  const std::vector<Keycode> keycodes = FetchKeyboardMap(connection_).KeycodesOf(keysym);
  return keycodes.empty() ? 0 : keycodes.front();
}

}  // namespace voxmere::x11_test
