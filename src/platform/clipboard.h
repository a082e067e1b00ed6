// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace voxmere {

// The text of the failure every clipboard operation reports when the
// clipboard cannot be used (its owner does not answer, or we cannot take it).
inline constexpr char kCannotOpenClipboard[] = "Cannot open clipboard";

// Who owns the clipboard, as the system names it; 0 when nobody does. Two
// equal values mean the same owner, not necessarily the same data.
using ClipboardOwner = std::uint64_t;

// What the clipboard held, kept so that it can be put back.
struct ClipboardContents {
  ClipboardOwner owner = 0;
  // Its plain text, empty when it offered none.
  QString text;
  // Every other format it offered, by name (a MIME type or the system's name
  // for the format), byte for byte.
  std::vector<std::pair<QString, QByteArray>> formats;
  // The other formats were too large (or too slow) to keep: only the text was
  // saved.
  bool text_only = false;

  bool IsEmpty() const { return text.isEmpty() && formats.empty(); }
};

// The system clipboard. Every operation that needs the current owner's answer
// waits for it a bounded time and then throws voxmere::Exception with
// kCannotOpenClipboard, so a hung owner never freezes the program for long.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // The current owner. Asks the system only, never the owner, so it cannot
  // hang.
  virtual ClipboardOwner Owner() = 0;

  // Every format the clipboard offers, up to the implementation's size limit
  // (beyond it, the text alone).
  virtual ClipboardContents Save() = 0;

  // How many times the clipboard's owner has changed (a program took it, or
  // its owner left it) since this object was made, as far as the system has
  // told us by now; an implementation that is not told counts nothing.
  // Asks the system only, never the owner, and never blocks.
  virtual std::uint64_t OwnerChanges() = 0;

  // The clipboard's plain text; empty when it holds none. Text ends at the
  // first zero character.
  virtual QString Text() = 0;

  // What is selected on the screen now (X11's PRIMARY selection, which
  // needs no copy), as plain text; empty when nothing is selected, when the
  // selection offers no text, or when its owner has not given the text
  // within the time. Leaves the clipboard alone and never throws.
  virtual QString PrimaryText(int milliseconds) = 0;

  // When the application that has the keyboard focus also holds the
  // selection on the screen, sends it a request that it answers only after
  // it has handled the keys typed before (an X client handles its events in
  // order), and returns true. False when no such application is there, or
  // when it has just failed to answer. Never waits.
  virtual bool AskFocusedSelectionOwner() = 0;

  // Whether the application asked by AskFocusedSelectionOwner has answered
  // by now. Never waits.
  virtual bool FocusedSelectionOwnerAnswered() = 0;

  // Makes the clipboard hold the contents again, every format of them; empty
  // contents leave the clipboard empty.
  virtual void Restore(const ClipboardContents& contents) = 0;
};

}  // namespace voxmere
