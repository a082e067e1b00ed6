// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/wayland_session_selection.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <array>

#include "platform/wayland/data_control_connection.h"
#include "platform/wayland/pipe_transfer.h"
#include "platform/wayland/wayland_log.h"

namespace voxmere {
namespace {

using Outcome = SessionSelectionText::Outcome;

// Far more than any text a user selects; a longer text is not read.
constexpr qsizetype kTextLimit = qsizetype{256} * 1024 * 1024;

// The text types to ask for, best first: the MIME type Wayland applications
// offer, then the X11 names that XWayland offers for X11 applications.
constexpr std::array<const char*, 5> kTextTypes = {"text/plain;charset=utf-8", "UTF8_STRING",
                                                   "text/plain", "TEXT", "STRING"};

// The offered text type to ask for; empty when the offer has none.
QByteArray TextType(const QByteArrayList& offered) {
  for (const char* type : kTextTypes) {
    for (const QByteArray& mime_type : offered) {
      // The charset's name is the same in any case.
      if (mime_type.compare(type, Qt::CaseInsensitive) == 0) return mime_type;
    }
  }
  return {};
}

// STRING is Latin-1, the others UTF-8. The text ends at the first zero
// character, as the X11 selections' text does.
QString Decode(const QByteArray& type, const QByteArray& data) {
  const qsizetype zero = data.indexOf('\0');
  const QByteArray text = zero < 0 ? data : data.left(zero);
  return type == "STRING" ? QString::fromLatin1(text) : QString::fromUtf8(text);
}

SessionSelectionText Failed(Outcome outcome) {
  SessionSelectionText result;
  result.outcome = outcome;
  return result;
}

// Has the offer's owner write its text into a pipe and reads it.
PipeTransfer Transfer(DataControlConnection& connection, const DataControlConnection::Offer& offer,
                      const QByteArray& type, const QDeadlineTimer& deadline) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return {};
  const bool asked = connection.Receive(offer, type, ends[1]);
  // Ours closed, the owner's copy is the only write end left: its close is
  // the end of the data.
  close(ends[1]);
  PipeTransfer transfer =
      asked ? ReadPipeUntilClosed(ends[0], deadline, kTextLimit) : PipeTransfer{};
  close(ends[0]);
  return transfer;
}

}  // namespace

SessionSelectionText WaylandSessionSelection::Read(int milliseconds) {
  const QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
  DataControlConnection connection;
  switch (connection.Open(deadline)) {
    case DataControlConnection::Status::kOpen:
      break;
    case DataControlConnection::Status::kNoSession:
      return Failed(Outcome::kNoSession);
    case DataControlConnection::Status::kNotOffered:
      qCDebug(WaylandLog, "The compositor offers no wlr-data-control protocol");
      return Failed(Outcome::kNotOffered);
    case DataControlConnection::Status::kNoSeat:
      qCDebug(WaylandLog, "The compositor has no seat, so no selection");
      return Failed(Outcome::kNothingSelected);
    case DataControlConnection::Status::kNoAnswer:
      return Failed(Outcome::kNoAnswer);
  }
  // What is highlighted, else the clipboard: an empty highlight (or one
  // without text) is no reason not to read.
  for (const DataControlConnection::Offer* offer : {connection.Primary(), connection.Clipboard()}) {
    if (offer == nullptr) continue;
    const char* what = offer == connection.Primary() ? "primary selection" : "clipboard";
    const QByteArray type = TextType(offer->mime_types);
    if (type.isEmpty()) {
      qCDebug(WaylandLog, "The %s offers no text", what);
      continue;
    }
    const PipeTransfer transfer = Transfer(connection, *offer, type, deadline);
    switch (transfer.status) {
      case PipeTransfer::Status::kDone:
        break;
      case PipeTransfer::Status::kTimedOut:
        qCDebug(WaylandLog, "The %s's owner did not give its text within %d ms", what,
                milliseconds);
        return Failed(Outcome::kNoAnswer);
      case PipeTransfer::Status::kTooLarge:
        qCDebug(WaylandLog, "The %s holds more than %lld bytes of text", what,
                static_cast<long long>(kTextLimit));
        return Failed(Outcome::kTooLarge);
      case PipeTransfer::Status::kFailed:
        qCDebug(WaylandLog, "The %s's text could not be received", what);
        continue;
    }
    SessionSelectionText result;
    result.text = Decode(type, transfer.data);
    if (result.text.isEmpty()) continue;
    result.outcome = Outcome::kRead;
    return result;
  }
  return Failed(Outcome::kNothingSelected);
}

}  // namespace voxmere
