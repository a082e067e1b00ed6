// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/data_control_connection.h"

#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/wayland/wayland_log.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace voxmere {
namespace {

// Version 2 tells the primary selection; version 1 only the clipboard.
constexpr std::uint32_t kManagerVersion = 2;

}  // namespace

DataControlConnection::~DataControlConnection() {
  for (const std::unique_ptr<Offer>& offer : offers_) {
    zwlr_data_control_offer_v1_destroy(offer->proxy);
  }
  if (device_ != nullptr) zwlr_data_control_device_v1_destroy(device_);
  if (manager_ != nullptr) zwlr_data_control_manager_v1_destroy(manager_);
  if (seat_ != nullptr) wl_seat_destroy(seat_);
  if (registry_ != nullptr) wl_registry_destroy(registry_);
  if (display_ != nullptr) wl_display_disconnect(display_);
}

DataControlConnection::Status DataControlConnection::Open(const QDeadlineTimer& deadline) {
  // Without these, libwayland would try a default socket name, which in an
  // X11 session could be a compositor the user is not working in.
  if (std::getenv("WAYLAND_DISPLAY") == nullptr && std::getenv("WAYLAND_SOCKET") == nullptr) {
    return Status::kNoSession;
  }
  display_ = wl_display_connect(nullptr);
  if (display_ == nullptr) {
    qCDebug(WaylandLog, "Cannot connect to the Wayland compositor: %s", std::strerror(errno));
    return Status::kNoSession;
  }
  static const wl_registry_listener registry_listener = {
      .global = &DataControlConnection::Global,
      .global_remove = &DataControlConnection::GlobalRemove,
  };
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &registry_listener, this);
  if (!Roundtrip(deadline)) return Status::kNoAnswer;
  if (manager_name_ == 0) return Status::kNotOffered;
  if (seat_name_ == 0) return Status::kNoSeat;

  manager_ = static_cast<zwlr_data_control_manager_v1*>(
      wl_registry_bind(registry_, manager_name_, &zwlr_data_control_manager_v1_interface,
                       std::min(manager_version_, kManagerVersion)));
  seat_ = static_cast<wl_seat*>(wl_registry_bind(registry_, seat_name_, &wl_seat_interface, 1));
  static const zwlr_data_control_device_v1_listener device_listener = {
      .data_offer = &DataControlConnection::DataOffer,
      .selection = &DataControlConnection::Selection,
      .finished = &DataControlConnection::Finished,
      .primary_selection = &DataControlConnection::PrimarySelection,
  };
  device_ = zwlr_data_control_manager_v1_get_data_device(manager_, seat_);
  zwlr_data_control_device_v1_add_listener(device_, &device_listener, this);
  // The compositor tells a new device the current selections at once.
  if (!Roundtrip(deadline)) return Status::kNoAnswer;
  if (finished_) return Status::kNoSeat;
  if (manager_version_ < kManagerVersion) {
    qCDebug(WaylandLog,
            "The compositor's data-control protocol is version %u: only the clipboard can be read",
            manager_version_);
  }
  return Status::kOpen;
}

bool DataControlConnection::Receive(const Offer& offer, const QByteArray& mime_type, int fd) {
  // libwayland sends a copy of `fd`: the caller may close its own at once.
  zwlr_data_control_offer_v1_receive(offer.proxy, mime_type.constData(), fd);
  return wl_display_flush(display_) >= 0 || errno == EAGAIN;
}

bool DataControlConnection::Roundtrip(const QDeadlineTimer& deadline) {
  bool answered = false;
  static const wl_callback_listener sync_listener = {
      .done = [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; },
  };
  wl_callback* sync = wl_display_sync(display_);
  wl_callback_add_listener(sync, &sync_listener, &answered);
  bool connected = true;
  while (connected && !answered) {
    // libwayland's own roundtrip waits without end; this is its loop with a
    // bounded poll.
    while (wl_display_prepare_read(display_) != 0) {
      if (wl_display_dispatch_pending(display_) < 0) connected = false;
      if (!connected || answered) break;
    }
    if (!connected || answered) break;
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
      wl_display_cancel_read(display_);
      connected = false;
      break;
    }
    pollfd readable{wl_display_get_fd(display_), POLLIN, 0};
    const int ready = poll(&readable, 1, static_cast<int>(deadline.remainingTime()));
    if (ready <= 0) {
      wl_display_cancel_read(display_);
      if (ready < 0 && errno == EINTR) continue;
      if (ready == 0) {
        qCDebug(WaylandLog, "The Wayland compositor did not answer in time");
      }
      break;
    }
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) {
      connected = false;
    }
  }
  if (!connected) {
    qCDebug(WaylandLog, "The Wayland connection failed: %s",
            std::strerror(wl_display_get_error(display_)));
  }
  wl_callback_destroy(sync);
  return answered;
}

const DataControlConnection::Offer* DataControlConnection::Find(
    zwlr_data_control_offer_v1* proxy) const {
  for (const std::unique_ptr<Offer>& offer : offers_) {
    if (offer->proxy == proxy) return offer.get();
  }
  return nullptr;
}

void DataControlConnection::Global(void* data, wl_registry*, std::uint32_t name,
                                   const char* interface, std::uint32_t version) {
  auto* self = static_cast<DataControlConnection*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && self->seat_name_ == 0) {
    self->seat_name_ = name;
  } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
    self->manager_name_ = name;
    self->manager_version_ = version;
  }
}

void DataControlConnection::GlobalRemove(void*, wl_registry*, std::uint32_t) {}

void DataControlConnection::DataOffer(void* data, zwlr_data_control_device_v1*,
                                      zwlr_data_control_offer_v1* proxy) {
  auto* self = static_cast<DataControlConnection*>(data);
  static const zwlr_data_control_offer_v1_listener offer_listener = {
      .offer = &DataControlConnection::MimeType,
  };
  auto offer = std::make_unique<Offer>();
  offer->proxy = proxy;
  zwlr_data_control_offer_v1_add_listener(proxy, &offer_listener, offer.get());
  self->offers_.push_back(std::move(offer));
}

void DataControlConnection::Selection(void* data, zwlr_data_control_device_v1*,
                                      zwlr_data_control_offer_v1* proxy) {
  auto* self = static_cast<DataControlConnection*>(data);
  self->clipboard_ = self->Find(proxy);
}

void DataControlConnection::Finished(void* data, zwlr_data_control_device_v1*) {
  static_cast<DataControlConnection*>(data)->finished_ = true;
}

void DataControlConnection::PrimarySelection(void* data, zwlr_data_control_device_v1*,
                                             zwlr_data_control_offer_v1* proxy) {
  auto* self = static_cast<DataControlConnection*>(data);
  self->primary_ = self->Find(proxy);
}

void DataControlConnection::MimeType(void* data, zwlr_data_control_offer_v1*,
                                     const char* mime_type) {
  static_cast<Offer*>(data)->mime_types.append(QByteArray(mime_type));
}

}  // namespace voxmere
