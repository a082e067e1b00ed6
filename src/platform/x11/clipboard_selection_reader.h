// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <xcb/xcb.h>

#include <QByteArray>
#include <QByteArrayList>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace voxmere {

// Reads the CLIPBOARD selection (or PRIMARY, what is selected on the screen)
// over an X connection of its own, so that an owner that never answers
// cannot block Qt's connection, and every answer is waited for a bounded
// time. Large data arrives in pieces (the INCR protocol); the whole transfer
// may take longer, as long as each piece arrives in time.
class ClipboardSelectionReader {
 public:
  enum class Status {
    kOk,        // the data is in Reply::data
    kRefused,   // the owner cannot give this format (or there is no owner)
    kNoAnswer,  // the owner did not answer in time
    kTooLarge,  // more than the allowed size; nothing kept
  };
  struct Reply {
    Status status = Status::kRefused;
    QByteArray data;
    xcb_atom_t type = XCB_NONE;
    int format = 8;  // 8, 16 or 32 bits per item

    static Reply Of(Status status) {
      Reply reply;
      reply.status = status;
      return reply;
    }
  };

  // Connects to the named display (nullptr: $DISPLAY).
  explicit ClipboardSelectionReader(const char* display_name);
  ~ClipboardSelectionReader();
  ClipboardSelectionReader(const ClipboardSelectionReader&) = delete;
  ClipboardSelectionReader& operator=(const ClipboardSelectionReader&) = delete;

  enum class Selection { kClipboard, kPrimary };

  bool Connected() const { return connection_ != nullptr; }

  // The selection's owner window, XCB_NONE when there is none. Answered by
  // the server, never by the owner.
  xcb_window_t Owner(Selection selection = Selection::kClipboard);

  // How many owner changes of the selection the server has reported so far
  // (XFixes selection notices); stays 0 when the server has no XFixes.
  // Never waits.
  std::uint64_t OwnerChanges();

  // Asks the owner for the selection converted to `target` and waits at most
  // `answer_time` for each answer of the owner.
  Reply Convert(xcb_atom_t target, std::chrono::milliseconds answer_time, qsizetype max_size,
                Selection selection = Selection::kClipboard);

  // The window that has the keyboard focus (XCB_NONE, or PointerRoot: 1).
  xcb_window_t InputFocus();

  // Asks the PRIMARY selection's owner for its TIMESTAMP without waiting;
  // PrimaryOwnerAnswered tells when the answer (or refusal) has come. An
  // owner answers only after the events it got before our request.
  void AskPrimaryOwner();
  bool PrimaryOwnerAnswered();

  // Leaves the CLIPBOARD selection without an owner. True when it then has none.
  bool ClearOwner();

  std::vector<xcb_atom_t> Atoms(const QByteArrayList& names);
  QByteArrayList AtomNames(const std::vector<xcb_atom_t>& atoms);

 private:
  using Clock = std::chrono::steady_clock;
  struct EventDeleter {
    void operator()(xcb_generic_event_t* event) const;
  };
  using Event = std::unique_ptr<xcb_generic_event_t, EventDeleter>;

  // A transfer left unfinished: later transfers use another property, so
  // that a late answer to this one is not taken for theirs. (Destroying the
  // window instead would make a late owner's write fail, and an Xlib owner
  // such as xclip dies of that error, taking the clipboard with it.)
  void Abandon();
  xcb_atom_t AtomOf(Selection selection) const;
  // Asks the server for notices of the selection's owner changes.
  void WatchOwner();
  // Counts the event when it is a notice of a change of the owner, and notes
  // the answer to AskPrimaryOwner.
  void Note(const xcb_generic_event_t* event);
  // Takes every event that has arrived, noting each.
  void NoteArrivedEvents();
  template <typename Match>
  Event WaitFor(Match match, Clock::time_point deadline);
  Reply ReadIncremental(std::uint32_t announced_size, std::chrono::milliseconds answer_time,
                        qsizetype max_size);

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = XCB_NONE;
  xcb_atom_t timestamp_ = XCB_NONE;
  xcb_window_t window_ = XCB_NONE;
  xcb_atom_t clipboard_ = XCB_NONE;
  std::vector<xcb_atom_t> properties_;
  size_t next_property_ = 0;
  xcb_atom_t property_ = XCB_NONE;
  xcb_atom_t incr_ = XCB_NONE;
  // The XFixes selection notice's event code; 0 without XFixes.
  std::uint8_t owner_change_event_ = 0;
  std::uint64_t owner_changes_ = 0;
  // The property AskPrimaryOwner's answer goes to, apart from the
  // transfers' properties, so that a late answer cannot spoil a transfer.
  xcb_atom_t primary_answer_property_ = XCB_NONE;
  bool primary_owner_answered_ = false;
};

}  // namespace voxmere
