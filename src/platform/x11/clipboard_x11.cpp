// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/clipboard_x11.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cstring>
#include <set>

#include "platform/exception.h"
#include "platform/x11/clipboard_targets.h"
#include "platform/x11/qt_server_time.h"
#include "platform/x11/qt_x11_display.h"
#include "platform/x11/x11_log.h"

namespace voxmere {
namespace {

using Status = ClipboardSelectionReader::Status;

// Far more than any text a user selects; a longer text is not read.
constexpr qsizetype kTextLimit = qsizetype{256} * 1024 * 1024;
// Saving the formats besides the text stops after this long (32 MiB from
// xclip take about 0.8 s).
constexpr std::chrono::milliseconds kSaveTime{2000};
// Qt's connection answers its own requests within milliseconds.
constexpr int kRefreshTime = 500;
// A list of formats is a few hundred bytes.
constexpr qsizetype kTargetsLimit = 64 * 1024;

// The reading that asked ends in a beep; the log says why.
[[noreturn]] void CannotOpenClipboard(const char* why) {
  qCWarning(ClipboardLog, "%s: %s", kCannotOpenClipboard, why);
  throw Exception(kCannotOpenClipboard);
}

const char* StatusText(Status status) {
  switch (status) {
    case Status::kOk:
      return "given";
    case Status::kRefused:
      return "refused";
    case Status::kNoAnswer:
      return "not given in time";
    case Status::kTooLarge:
      return "too large";
  }
  return "?";
}

QClipboard* QtClipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
             ? QGuiApplication::clipboard()
             : nullptr;
}

// The targets of a TARGETS answer, each once; none when the owner did not
// say.
std::vector<xcb_atom_t> TargetsOf(const ClipboardSelectionReader::Reply& list) {
  std::vector<xcb_atom_t> targets;
  if (list.status != Status::kOk || list.format != 32) return targets;
  std::set<xcb_atom_t> seen;
  for (qsizetype at = 0; at + 4 <= list.data.size(); at += 4) {
    std::uint32_t atom = 0;
    std::memcpy(&atom, list.data.constData() + at, 4);
    if (atom != XCB_NONE && seen.insert(atom).second) targets.push_back(atom);
  }
  return targets;
}

QString UpToZero(const QString& text) {
  const qsizetype zero = text.indexOf(QChar(0));
  return zero < 0 ? text : text.left(zero);
}

}  // namespace

X11Clipboard::X11Clipboard(qsizetype save_limit, std::chrono::milliseconds answer_time)
    : save_limit_(save_limit), answer_time_(answer_time) {
  xcb_connection_t* connection = QtX11Connection();
  if (connection == nullptr) return;
  const xcb_setup_t* setup = xcb_get_setup(connection);
  our_resource_base_ = setup->resource_id_base;
  our_resource_mask_ = setup->resource_id_mask;
  const QByteArray display_name = QtX11DisplayName();
  reader_ = std::make_unique<ClipboardSelectionReader>(
      display_name.isEmpty() ? nullptr : display_name.constData());
  if (!reader_->Connected()) {
    qCWarning(ClipboardLog,
              "No connection of our own to the display %s: other programs' clipboard data is read "
              "through Qt, without a time limit",
              display_name.constData());
    reader_.reset();
  }
}

X11Clipboard::~X11Clipboard() = default;

bool X11Clipboard::OwnedByUs(xcb_window_t owner) const {
  return owner != XCB_NONE && (owner & ~our_resource_mask_) == our_resource_base_;
}

bool X11Clipboard::SameClient(xcb_window_t one, xcb_window_t other) const {
  // Client 0 is the server (the root window, PointerRoot); never an
  // application.
  const std::uint32_t client = one & ~our_resource_mask_;
  return client != 0 && client == (other & ~our_resource_mask_);
}

ClipboardOwner X11Clipboard::Owner() {
  if (reader_ != nullptr) return reader_->Owner();
  QClipboard* clipboard = QtClipboard();
  const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
  return data != nullptr && !data->formats().isEmpty() ? 1 : 0;
}

std::uint64_t X11Clipboard::OwnerChanges() {
  return reader_ != nullptr ? reader_->OwnerChanges() : 0;
}

ClipboardContents X11Clipboard::SaveOurs(ClipboardOwner owner) const {
  ClipboardContents contents;
  contents.owner = owner;
  QClipboard* clipboard = QtClipboard();
  const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
  if (data == nullptr) return contents;
  contents.text = UpToZero(data->text());
  qsizetype total = contents.text.toUtf8().size();
  for (const QString& format : data->formats()) {
    if (!IsSavedTarget(format.toLatin1())) continue;
    QByteArray bytes = data->data(format);
    total += bytes.size();
    if (total > save_limit_) {
      qCDebug(ClipboardLog, "Only the text of our own clipboard data is kept: over %lld bytes",
              static_cast<long long>(save_limit_));
      contents.formats.clear();
      contents.text_only = true;
      break;
    }
    contents.formats.emplace_back(format, std::move(bytes));
  }
  return contents;
}

ClipboardSelectionReader::Reply X11Clipboard::Convert(const QByteArray& target,
                                                      qsizetype max_size) {
  return reader_->Convert(reader_->Atoms({target})[0], answer_time_, max_size);
}

QString X11Clipboard::ReadText(const QByteArrayList& offered, qsizetype* bytes) {
  for (const QByteArray& target : TextTargets(offered)) {
    const ClipboardSelectionReader::Reply reply = Convert(target, kTextLimit);
    if (reply.status == Status::kNoAnswer) {
      CannotOpenClipboard("the owner did not give its text in time");
    }
    if (reply.status == Status::kOk && reply.format == 8) {
      *bytes = reply.data.size();
      return DecodeText(target, reply.data);
    }
  }
  *bytes = 0;
  return {};
}

QByteArrayList X11Clipboard::OfferedTargets(std::vector<xcb_atom_t>* targets) {
  const ClipboardSelectionReader::Reply list = Convert("TARGETS", kTargetsLimit);
  if (list.status == Status::kNoAnswer) {
    CannotOpenClipboard("the owner did not say in time which formats it has");
  }
  *targets = TargetsOf(list);
  return reader_->AtomNames(*targets);
}

ClipboardContents X11Clipboard::Save() {
  const ClipboardOwner owner = Owner();
  if (reader_ == nullptr || OwnedByUs(owner)) return SaveOurs(owner);
  ClipboardContents contents;
  contents.owner = owner;
  if (owner == XCB_NONE) return contents;

  std::vector<xcb_atom_t> targets;
  const QByteArrayList names = OfferedTargets(&targets);

  qsizetype total = 0;
  contents.text = ReadText(names, &total);
  const QDeadlineTimer save_deadline(kSaveTime);
  for (size_t i = 0; i < targets.size(); ++i) {
    if (!IsSavedTarget(names[i])) continue;
    const ClipboardSelectionReader::Reply reply =
        reader_->Convert(targets[i], answer_time_, save_limit_ - total);
    if (reply.status == Status::kTooLarge || reply.status == Status::kNoAnswer ||
        save_deadline.hasExpired()) {
      // Too much, or an owner that cannot render its formats in time: the
      // text alone, as the clipboard was always restored before, rather
      // than a frozen program.
      if (save_deadline.hasExpired()) {
        qCDebug(ClipboardLog, "Only the clipboard's text is kept: its formats took over %lld ms",
                static_cast<long long>(kSaveTime.count()));
      } else {
        qCDebug(ClipboardLog, "Only the clipboard's text is kept: the format %s was %s",
                names[i].constData(), StatusText(reply.status));
      }
      contents.formats.clear();
      contents.text_only = true;
      break;
    }
    // Data in 16- or 32-bit items would not survive being served as bytes.
    if (reply.status != Status::kOk || reply.format != 8) continue;
    total += reply.data.size();
    contents.formats.emplace_back(QString::fromLatin1(names[i]), reply.data);
  }
  return contents;
}

QString X11Clipboard::Text() {
  const ClipboardOwner owner = Owner();
  if (reader_ == nullptr || OwnedByUs(owner)) {
    QClipboard* clipboard = QtClipboard();
    return clipboard != nullptr ? UpToZero(clipboard->text()) : QString();
  }
  if (owner == XCB_NONE) return {};
  // Only targets the owner offers: some owners (xclip) answer any target
  // with their one kind of data, a picture too.
  std::vector<xcb_atom_t> targets;
  const QByteArrayList names = OfferedTargets(&targets);
  qsizetype bytes = 0;
  return ReadText(names, &bytes);
}

QString X11Clipboard::PrimaryText(int milliseconds) {
  using Selection = ClipboardSelectionReader::Selection;
  QClipboard* clipboard = QtClipboard();
  if (reader_ == nullptr) {
    return clipboard != nullptr ? UpToZero(clipboard->text(QClipboard::Selection)) : QString();
  }
  const xcb_window_t owner = reader_->Owner(Selection::kPrimary);
  if (owner == XCB_NONE) return {};
  // A selection in one of our own fields: our user-interface thread could not
  // answer our own request.
  if (OwnedByUs(owner)) {
    return clipboard != nullptr ? UpToZero(clipboard->text(QClipboard::Selection)) : QString();
  }
  const QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
  const auto time_left = [&] { return std::chrono::milliseconds(deadline.remainingTime()); };
  const auto no_answer = [&] {
    unanswered_primary_owner_ = owner;
    qCDebug(ClipboardLog, "The selection's owner did not give its text within %d ms", milliseconds);
    return QString();
  };
  // The text asked for at once, without the list of formats first: one
  // answer of the owner instead of two. An owner that answers any request
  // with its one kind of data (xclip holding a picture) gives it under that
  // data's type, which is no text type.
  unanswered_primary_owner_ = XCB_NONE;
  const QByteArrayList names = TextTargets({});
  if (text_targets_.empty()) text_targets_ = reader_->Atoms(names);
  for (size_t i = 0; i < text_targets_.size(); ++i) {
    if (deadline.hasExpired()) return no_answer();
    const ClipboardSelectionReader::Reply reply =
        reader_->Convert(text_targets_[i], time_left(), kTextLimit, Selection::kPrimary);
    if (reply.status == Status::kNoAnswer) return no_answer();
    if (reply.status != Status::kOk) continue;
    const auto type = std::find(text_targets_.begin(), text_targets_.end(), reply.type);
    if (reply.format != 8 || type == text_targets_.end()) return {};
    return DecodeText(names[type - text_targets_.begin()], reply.data);
  }
  return {};
}

bool X11Clipboard::AskFocusedSelectionOwner() {
  if (reader_ == nullptr) return false;
  const xcb_window_t owner = reader_->Owner(ClipboardSelectionReader::Selection::kPrimary);
  // Our own fields copied before the keys were typed.
  if (owner == XCB_NONE || OwnedByUs(owner) || owner == unanswered_primary_owner_) return false;
  if (!SameClient(owner, reader_->InputFocus())) return false;
  qCDebug(ClipboardLog, "No copy yet; waiting for the focused application to handle the keys");
  reader_->AskPrimaryOwner();
  return true;
}

bool X11Clipboard::FocusedSelectionOwnerAnswered() {
  return reader_ != nullptr && reader_->PrimaryOwnerAnswered();
}

void X11Clipboard::Restore(const ClipboardContents& contents) {
  QClipboard* clipboard = QtClipboard();
  if (clipboard == nullptr) CannotOpenClipboard("there is no Qt clipboard to restore to");
  if (contents.IsEmpty()) {
    if (reader_ == nullptr) {
      clipboard->clear();
    } else if (!reader_->ClearOwner()) {
      CannotOpenClipboard("the clipboard, empty before the copy, could not be emptied again");
    }
    return;
  }
  const auto mime_data = [&contents] {
    auto* data = new QMimeData;
    if (!contents.text.isEmpty()) data->setText(contents.text);
    for (const auto& [format, bytes] : contents.formats) data->setData(format, bytes);
    return data;
  };
  // Qt takes the selection with the time of the last event it saw. The copy
  // we have just read was made later, and Qt may not have seen its notice
  // yet (our own connection tells us first): the server would refuse, and
  // Qt only warns. So Qt's time is made now first.
  if (reader_ != nullptr) RefreshQtServerTime(kRefreshTime);
  clipboard->setMimeData(mime_data(), QClipboard::Clipboard);
  // A clipboard manager may take the copy over meanwhile, later still: once
  // Qt's time is now again, the second try is not refused.
  if (reader_ != nullptr && !OwnedByUs(reader_->Owner())) {
    qCDebug(ClipboardLog, "The clipboard was not given back; taking it again at the time now");
    if (RefreshQtServerTime(kRefreshTime))
      clipboard->setMimeData(mime_data(), QClipboard::Clipboard);
  }
  if (reader_ != nullptr && !OwnedByUs(reader_->Owner())) {
    CannotOpenClipboard("the X server did not give us the clipboard back to restore it");
  }
}

}  // namespace voxmere
