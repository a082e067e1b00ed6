// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/clipboard_selection_reader.h"

#include <poll.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace voxmere {
namespace {

// Properties to receive data in, taken in turn after unfinished transfers.
constexpr int kProperties = 8;

struct Property {
  xcb_atom_t type = XCB_NONE;
  int format = 8;
  QByteArray data;
  bool complete = false;  // all of it, and within the size asked for
};

// Reads a property of `window`, at most max_size bytes (and one word more, to
// tell whether there was more). `remove` deletes it when read whole.
std::optional<Property> GetProperty(xcb_connection_t* connection, xcb_window_t window,
                                    xcb_atom_t property, bool remove, qsizetype max_size) {
  const qsizetype words = std::min<qsizetype>(max_size / 4 + 1, 0x3fffffff);
  xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, remove, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                       static_cast<std::uint32_t>(words));
  xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
  if (reply == nullptr) return std::nullopt;
  Property result;
  result.type = reply->type;
  result.format = reply->format == 0 ? 8 : reply->format;
  const int length = xcb_get_property_value_length(reply);
  result.data = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), length);
  result.complete = reply->bytes_after == 0 && length <= max_size;
  std::free(reply);
  return result;
}

}  // namespace

void ClipboardSelectionReader::EventDeleter::operator()(xcb_generic_event_t* event) const {
  std::free(event);
}

ClipboardSelectionReader::ClipboardSelectionReader(const char* display_name) {
  int screen_number = 0;
  xcb_connection_t* connection = xcb_connect(display_name, &screen_number);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return;
  }
  connection_ = connection;
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screen_number && screens.rem > 0; ++i) xcb_screen_next(&screens);
  root_ = screens.data->root;
  const std::vector<xcb_atom_t> atoms =
      Atoms({"CLIPBOARD", "INCR", "TIMESTAMP", "VOXMERE_PRIMARY_ANSWER"});
  clipboard_ = atoms[0];
  incr_ = atoms[1];
  timestamp_ = atoms[2];
  primary_answer_property_ = atoms[3];
  QByteArrayList property_names;
  for (int i = 0; i < kProperties; ++i)
    property_names << "VOXMERE_CLIPBOARD_" + QByteArray::number(i);
  properties_ = Atoms(property_names);
  property_ = properties_[0];
  window_ = xcb_generate_id(connection_);
  const std::uint32_t event_mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                    &event_mask);
  WatchOwner();
  xcb_flush(connection_);
}

void ClipboardSelectionReader::WatchOwner() {
  const xcb_query_extension_reply_t* extension =
      xcb_get_extension_data(connection_, &xcb_xfixes_id);
  if (extension == nullptr || !extension->present) return;
  // The server sends selection notices only to clients that said which
  // XFixes version they speak.
  xcb_xfixes_query_version_reply_t* version = xcb_xfixes_query_version_reply(
      connection_,
      xcb_xfixes_query_version(connection_, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
      nullptr);
  if (version == nullptr) return;
  std::free(version);
  xcb_xfixes_select_selection_input(connection_, window_, clipboard_,
                                    XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                        XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                        XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
  owner_change_event_ = extension->first_event + XCB_XFIXES_SELECTION_NOTIFY;
}

void ClipboardSelectionReader::Note(const xcb_generic_event_t* event) {
  const int type = event->response_type & 0x7f;
  if (type == XCB_SELECTION_NOTIFY) {
    const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event);
    if (notify->requestor == window_ && notify->selection == XCB_ATOM_PRIMARY &&
        notify->target == timestamp_ &&
        (notify->property == primary_answer_property_ || notify->property == XCB_NONE)) {
      primary_owner_answered_ = true;
    }
    return;
  }
  if (owner_change_event_ == 0 || type != owner_change_event_) return;
  const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
  if (notify->selection == clipboard_) ++owner_changes_;
}

void ClipboardSelectionReader::NoteArrivedEvents() {
  while (Event event{xcb_poll_for_event(connection_)}) Note(event.get());
}

std::uint64_t ClipboardSelectionReader::OwnerChanges() {
  NoteArrivedEvents();
  return owner_changes_;
}

xcb_window_t ClipboardSelectionReader::InputFocus() {
  xcb_get_input_focus_reply_t* reply =
      xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
  const xcb_window_t focus = reply != nullptr ? reply->focus : XCB_NONE;
  std::free(reply);
  return focus;
}

void ClipboardSelectionReader::AskPrimaryOwner() {
  primary_owner_answered_ = false;
  xcb_convert_selection(connection_, window_, XCB_ATOM_PRIMARY, timestamp_,
                        primary_answer_property_, XCB_CURRENT_TIME);
  xcb_flush(connection_);
}

bool ClipboardSelectionReader::PrimaryOwnerAnswered() {
  NoteArrivedEvents();
  return primary_owner_answered_;
}

ClipboardSelectionReader::~ClipboardSelectionReader() {
  if (connection_ != nullptr) xcb_disconnect(connection_);
}

void ClipboardSelectionReader::Abandon() {
  next_property_ = (next_property_ + 1) % properties_.size();
  property_ = properties_[next_property_];
}

std::vector<xcb_atom_t> ClipboardSelectionReader::Atoms(const QByteArrayList& names) {
  std::vector<xcb_intern_atom_cookie_t> cookies;
  for (const QByteArray& name : names) {
    cookies.push_back(xcb_intern_atom(connection_, false, name.size(), name.constData()));
  }
  std::vector<xcb_atom_t> atoms;
  for (xcb_intern_atom_cookie_t cookie : cookies) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    atoms.push_back(reply != nullptr ? reply->atom : XCB_NONE);
    std::free(reply);
  }
  return atoms;
}

QByteArrayList ClipboardSelectionReader::AtomNames(const std::vector<xcb_atom_t>& atoms) {
  std::vector<xcb_get_atom_name_cookie_t> cookies;
  for (xcb_atom_t atom : atoms) cookies.push_back(xcb_get_atom_name(connection_, atom));
  QByteArrayList names;
  for (xcb_get_atom_name_cookie_t cookie : cookies) {
    xcb_get_atom_name_reply_t* reply = xcb_get_atom_name_reply(connection_, cookie, nullptr);
    names << (reply != nullptr
                  ? QByteArray(xcb_get_atom_name_name(reply), xcb_get_atom_name_name_length(reply))
                  : QByteArray());
    std::free(reply);
  }
  return names;
}

xcb_atom_t ClipboardSelectionReader::AtomOf(Selection selection) const {
  return selection == Selection::kPrimary ? xcb_atom_t{XCB_ATOM_PRIMARY} : clipboard_;
}

xcb_window_t ClipboardSelectionReader::Owner(Selection selection) {
  xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
      connection_, xcb_get_selection_owner(connection_, AtomOf(selection)), nullptr);
  const xcb_window_t owner = reply != nullptr ? reply->owner : XCB_NONE;
  std::free(reply);
  return owner;
}

bool ClipboardSelectionReader::ClearOwner() {
  // Cleared with the time the owner took the clipboard, not the current one:
  // the current time would become the clipboard's last change, and an owner
  // that copies again with the time of its unchanged selection (xterm does)
  // would then be refused by the server, so the same selection could not be
  // copied a second time.
  xcb_timestamp_t time = XCB_CURRENT_TIME;
  const Reply reply = Convert(timestamp_, std::chrono::milliseconds(250), 64);
  if (reply.status == Status::kOk && reply.format == 32 &&
      reply.data.size() >= static_cast<qsizetype>(sizeof(std::uint32_t))) {
    std::uint32_t owner_time = 0;
    std::memcpy(&owner_time, reply.data.constData(), sizeof owner_time);
    if (owner_time != 0) time = owner_time;
  }
  xcb_set_selection_owner(connection_, XCB_NONE, clipboard_, time);
  if (Owner() == XCB_NONE) return true;
  // An owner whose answer was wrong: the current time always clears.
  xcb_set_selection_owner(connection_, XCB_NONE, clipboard_, XCB_CURRENT_TIME);
  return Owner() == XCB_NONE;
}

template <typename Match>
ClipboardSelectionReader::Event ClipboardSelectionReader::WaitFor(Match match,
                                                                  Clock::time_point deadline) {
  for (;;) {
    // Other events (notices of our own property changes, answers to
    // abandoned requests) are of no use any more; notices of owner changes
    // are counted.
    while (Event event{xcb_poll_for_event(connection_)}) {
      if (match(event.get())) return event;
      Note(event.get());
    }
    if (xcb_connection_has_error(connection_)) return nullptr;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return nullptr;
    pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
    ::poll(&descriptor, 1, static_cast<int>(left));
  }
}

ClipboardSelectionReader::Reply ClipboardSelectionReader::Convert(
    xcb_atom_t target, std::chrono::milliseconds answer_time, qsizetype max_size,
    Selection selection) {
  const xcb_atom_t selection_atom = AtomOf(selection);
  xcb_delete_property(connection_, window_, property_);
  xcb_convert_selection(connection_, window_, selection_atom, target, property_, XCB_CURRENT_TIME);
  xcb_flush(connection_);
  const xcb_window_t window = window_;
  const xcb_atom_t expected_property = property_;
  Event event = WaitFor(
      [&](xcb_generic_event_t* event) {
        if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY) return false;
        auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event);
        return notify->requestor == window && notify->selection == selection_atom &&
               notify->target == target &&
               (notify->property == expected_property || notify->property == XCB_NONE);
      },
      Clock::now() + answer_time);
  if (event == nullptr) {
    Abandon();
    return Reply::Of(Status::kNoAnswer);
  }
  if (reinterpret_cast<xcb_selection_notify_event_t*>(event.get())->property == XCB_NONE) {
    return Reply::Of(Status::kRefused);
  }

  std::optional<Property> property =
      GetProperty(connection_, window_, property_, false, std::max<qsizetype>(max_size, 4));
  if (!property) return Reply::Of(Status::kRefused);
  if (property->type == incr_) {
    std::uint32_t announced = 0;
    if (property->data.size() >= 4) std::memcpy(&announced, property->data.constData(), 4);
    return ReadIncremental(announced, answer_time, max_size);
  }
  // Deleting the property tells the owner that we have the data.
  xcb_delete_property(connection_, window_, property_);
  xcb_flush(connection_);
  if (!property->complete || property->data.size() > max_size) {
    return Reply::Of(Status::kTooLarge);
  }
  return {.status = Status::kOk,
          .data = std::move(property->data),
          .type = property->type,
          .format = property->format};
}

ClipboardSelectionReader::Reply ClipboardSelectionReader::ReadIncremental(
    std::uint32_t announced_size, std::chrono::milliseconds answer_time, qsizetype max_size) {
  // The announced size is a lower bound; too much already: never start it.
  if (announced_size > max_size) {
    Abandon();
    return Reply::Of(Status::kTooLarge);
  }
  Reply reply = Reply::Of(Status::kOk);
  reply.data.reserve(announced_size);
  // Deleting the announcement starts the transfer; each piece is a new value
  // of the property, and deleting it asks for the next; an empty piece ends.
  xcb_delete_property(connection_, window_, property_);
  xcb_flush(connection_);
  const xcb_window_t window = window_;
  for (;;) {
    Event event = WaitFor(
        [&](xcb_generic_event_t* event) {
          if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
          auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
          return notify->window == window && notify->atom == property_ &&
                 notify->state == XCB_PROPERTY_NEW_VALUE;
        },
        Clock::now() + answer_time);
    if (event == nullptr) {
      Abandon();
      return Reply::Of(Status::kNoAnswer);
    }
    const qsizetype room = max_size - reply.data.size();
    std::optional<Property> piece = GetProperty(connection_, window_, property_, true, room);
    xcb_flush(connection_);
    if (!piece) continue;  // deleted meanwhile; the next value will come
    if (!piece->complete) {
      Abandon();
      return Reply::Of(Status::kTooLarge);
    }
    if (piece->data.isEmpty()) return reply;
    reply.type = piece->type;
    reply.format = piece->format;
    reply.data.append(piece->data);
  }
}

}  // namespace voxmere
