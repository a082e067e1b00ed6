// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <memory>
#include <vector>

#include "platform/clipboard.h"
#include "platform/x11/clipboard_selection_reader.h"

namespace voxmere {

// The CLIPBOARD selection of the X display Qt runs on. Reads go over a
// connection of our own and wait at most the answer time for each answer of
// the owner: a hung owner costs one answer time, then kCannotOpenClipboard.
// Save keeps the text alone when the other formats pass the size limit, when
// one of them is not given in time, or when they have taken 2 s, so that a
// slow owner holds the program up a few seconds at most.
//
// While this program owns the clipboard its own data is read directly, since
// our user-interface thread could not answer our own request. Restores hand
// the data to Qt, which serves it (large data in pieces) until another client
// takes the clipboard.
//
// Without an X connection (another Qt platform) it works on Qt's clipboard
// alone.
class X11Clipboard : public Clipboard {
 public:
  // Beyond this many bytes in all, Save keeps the text alone.
  static constexpr qsizetype kDefaultSaveLimit = qsizetype{32} * 1024 * 1024;
  static constexpr std::chrono::milliseconds kDefaultAnswerTime{1000};

  explicit X11Clipboard(qsizetype save_limit = kDefaultSaveLimit,
                        std::chrono::milliseconds answer_time = kDefaultAnswerTime);
  ~X11Clipboard() override;
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  ClipboardOwner Owner() override;
  ClipboardContents Save() override;
  // Counted from the server's XFixes notices on our own connection.
  std::uint64_t OwnerChanges() override;
  QString Text() override;
  QString PrimaryText(int milliseconds) override;
  // Asks only an owner of PRIMARY of the same client as the focused window.
  bool AskFocusedSelectionOwner() override;
  bool FocusedSelectionOwnerAnswered() override;
  void Restore(const ClipboardContents& contents) override;

 private:
  bool OwnedByUs(xcb_window_t owner) const;
  // Whether both windows were made by the same client.
  bool SameClient(xcb_window_t one, xcb_window_t other) const;
  ClipboardContents SaveOurs(ClipboardOwner owner) const;
  // The targets the owner offers (an empty list when it does not say), and
  // their names; throws when it does not answer.
  QByteArrayList OfferedTargets(std::vector<xcb_atom_t>* targets);
  // The owner's text by the first text target it gives; throws when it does
  // not answer.
  QString ReadText(const QByteArrayList& offered, qsizetype* bytes);
  ClipboardSelectionReader::Reply Convert(const QByteArray& target, qsizetype max_size);

  const qsizetype save_limit_;
  const std::chrono::milliseconds answer_time_;
  std::unique_ptr<ClipboardSelectionReader> reader_;
  // The text targets, in the order TextTargets gives them; asked for the
  // first time PRIMARY is read.
  std::vector<xcb_atom_t> text_targets_;
  // Identifies the windows of Qt's own connection.
  std::uint32_t our_resource_base_ = 0;
  std::uint32_t our_resource_mask_ = 0;
  // The PRIMARY owner that last failed to give its text in time; it is not
  // asked again to answer after the keys.
  xcb_window_t unanswered_primary_owner_ = XCB_NONE;
};

}  // namespace voxmere
