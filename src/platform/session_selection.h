// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// What a look at the desktop session's selection found.
struct SessionSelectionText {
  enum class Outcome {
    kRead,             // `text` holds the selection's text (never empty)
    kNoSession,        // there is no session to ask (no compositor reachable)
    kNotOffered,       // the compositor lets no program read its selections
    kNothingSelected,  // no selection, or none that offers text
    kNoAnswer,         // the selection's owner did not give its text in time
    kTooLarge,         // far more text than anyone selects; not read
  };

  Outcome outcome = Outcome::kNothingSelected;
  QString text;
};

// Why nothing was read, for the log; empty for kRead.
inline QString SessionSelectionFailure(SessionSelectionText::Outcome outcome) {
  using Outcome = SessionSelectionText::Outcome;
  switch (outcome) {
    case Outcome::kRead:
      return {};
    case Outcome::kNoSession:
      return QStringLiteral("no Wayland compositor could be reached");
    case Outcome::kNotOffered:
      return QStringLiteral(
          "the compositor does not let programs read the selection (it offers no "
          "wlr-data-control)");
    case Outcome::kNothingSelected:
      return QStringLiteral("nothing with text is selected or on the clipboard");
    case Outcome::kNoAnswer:
      return QStringLiteral("the application holding the selection did not give its text in time");
    case Outcome::kTooLarge:
      return QStringLiteral("the selection is too large to read");
  }
  return {};
}

// What is highlighted now in the desktop session, read without any copy:
// the primary selection, and when nothing is highlighted, the clipboard's
// text. Reading never changes either of them. Blocks the calling thread for
// at most `milliseconds` (the compositor's and the owner's answers
// together), never longer, and never throws.
class SessionSelection {
 public:
  virtual ~SessionSelection() = default;

  virtual SessionSelectionText Read(int milliseconds) = 0;
};

}  // namespace voxmere
