// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayList>
#include <QDeadlineTimer>
#include <cstdint>
#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_offer_v1;

namespace voxmere {

// A connection of our own to the Wayland compositor, held for one look at
// the first seat's selections through the wlr data-control protocol. It
// only looks: it never makes a data source, so no selection changes. Every
// wait for the compositor ends at the deadline given.
class DataControlConnection {
 public:
  enum class Status {
    kOpen,        // the selections below are the seat's current ones
    kNoSession,   // no compositor could be reached
    kNotOffered,  // the compositor offers no data-control protocol
    kNoSeat,      // the compositor has no seat (or it went away)
    kNoAnswer,    // the compositor did not answer in time, or hung up
  };

  // Data another client offers: the MIME types it can give.
  struct Offer {
    zwlr_data_control_offer_v1* proxy = nullptr;
    QByteArrayList mime_types;
  };

  DataControlConnection() = default;
  ~DataControlConnection();
  DataControlConnection(const DataControlConnection&) = delete;
  DataControlConnection& operator=(const DataControlConnection&) = delete;

  // Connects (WAYLAND_DISPLAY names the compositor) and learns the seat's
  // selections.
  Status Open(const QDeadlineTimer& deadline);

  // The offers of the primary selection (what is highlighted; null when
  // nothing is, or when the compositor's protocol is too old to tell) and
  // of the clipboard (null when it is empty).
  const Offer* Primary() const { return primary_; }
  const Offer* Clipboard() const { return clipboard_; }

  // Asks the offer's owner to write its data as `mime_type` into `fd` and
  // close it. True when the request has gone out.
  bool Receive(const Offer& offer, const QByteArray& mime_type, int fd);

 private:
  static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                     std::uint32_t version);
  static void GlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
  static void DataOffer(void* data, zwlr_data_control_device_v1* device,
                        zwlr_data_control_offer_v1* proxy);
  static void Selection(void* data, zwlr_data_control_device_v1* device,
                        zwlr_data_control_offer_v1* proxy);
  static void Finished(void* data, zwlr_data_control_device_v1* device);
  static void PrimarySelection(void* data, zwlr_data_control_device_v1* device,
                               zwlr_data_control_offer_v1* proxy);
  static void MimeType(void* data, zwlr_data_control_offer_v1* proxy, const char* mime_type);

  // Sends what is queued and handles the compositor's events until it has
  // answered everything sent before, or until the deadline.
  bool Roundtrip(const QDeadlineTimer& deadline);
  const Offer* Find(zwlr_data_control_offer_v1* proxy) const;

  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  wl_seat* seat_ = nullptr;
  zwlr_data_control_manager_v1* manager_ = nullptr;
  zwlr_data_control_device_v1* device_ = nullptr;
  std::uint32_t seat_name_ = 0;
  std::uint32_t manager_name_ = 0;
  std::uint32_t manager_version_ = 0;
  bool finished_ = false;
  std::vector<std::unique_ptr<Offer>> offers_;
  const Offer* primary_ = nullptr;
  const Offer* clipboard_ = nullptr;
};

}  // namespace voxmere
