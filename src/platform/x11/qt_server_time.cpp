// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/qt_server_time.h"

#include <xcb/xcb.h>

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cstdlib>
#include <cstring>

#include "platform/x11/qt_x11_display.h"

namespace voxmere {
namespace {

constexpr char kAtomName[] = "_VOXMERE_SERVER_TIME";

// Notes the property notice of our atom on the root window as Qt handles it;
// Qt takes the notice's time as its own right after.
class PropertyNoticeFilter : public QAbstractNativeEventFilter {
 public:
  PropertyNoticeFilter(xcb_window_t root, xcb_atom_t atom) : root_(root), atom_(atom) {}
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
    const auto* notice = static_cast<const xcb_property_notify_event_t*>(message);
    if (notice->window == root_ && notice->atom == atom_) seen_ = true;
    return false;
  }
  bool Seen() const { return seen_; }

 private:
  const xcb_window_t root_;
  const xcb_atom_t atom_;
  bool seen_ = false;
};

xcb_atom_t Atom(xcb_connection_t* connection) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(kAtomName)), kAtomName),
      nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : XCB_NONE;
  std::free(reply);
  return atom;
}

}  // namespace

bool RefreshQtServerTime(int milliseconds) {
  xcb_connection_t* connection = QtX11Connection();
  if (connection == nullptr) return false;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  // Interned once per connection: the lookup is a round trip of its own.
  static xcb_connection_t* interned_for = nullptr;
  static xcb_atom_t atom = XCB_NONE;
  if (interned_for != connection || atom == XCB_NONE) {
    atom = Atom(connection);
    interned_for = connection;
  }
  if (screen == nullptr || atom == XCB_NONE) return false;
  PropertyNoticeFilter filter(screen->root, atom);
  QCoreApplication::instance()->installNativeEventFilter(&filter);
  // Appending nothing changes nothing but still sends the notice, stamped
  // with the server's time now. Qt watches the root window's properties.
  xcb_change_property(connection, XCB_PROP_MODE_APPEND, screen->root, atom, XCB_ATOM_STRING, 8, 0,
                      nullptr);
  xcb_flush(connection);
  const QDeadlineTimer deadline(milliseconds);
  while (!filter.Seen() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  QCoreApplication::instance()->removeNativeEventFilter(&filter);
  return filter.Seen();
}

}  // namespace voxmere
