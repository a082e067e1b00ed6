// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_clipboard.h"

#include <string>

#include "platform/exception.h"

namespace voxmere {

void FakeClipboard::Take(ClipboardOwner owner, const QString& text,
                         std::vector<std::pair<QString, QByteArray>> formats) {
  current_ = {.owner = owner, .text = text, .formats = std::move(formats)};
  ++owner_changes_;
}

void FakeClipboard::Enter(const std::string& operation) {
  log_.push_back(operation);
  if (failing_.contains(operation)) throw Exception(kCannotOpenClipboard);
}

ClipboardOwner FakeClipboard::Owner() {
  Enter("Owner");
  return current_.owner;
}

ClipboardContents FakeClipboard::Save() {
  Enter("Save");
  return current_;
}

QString FakeClipboard::Text() {
  Enter("Text");
  return current_.text;
}

QString FakeClipboard::PrimaryText(int milliseconds) {
  log_.push_back("PrimaryText " + std::to_string(milliseconds));
  return primary_answers_ ? primary_ : QString();
}

bool FakeClipboard::AskFocusedSelectionOwner() {
  log_.push_back("AskFocusedSelectionOwner");
  answered_ = false;
  if (!focused_selection_owner) return false;
  focused_selection_owner();
  return true;
}

void FakeClipboard::Restore(const ClipboardContents& contents) {
  Enter("Restore");
  current_ = contents;
  current_.text_only = false;
  current_.owner = contents.IsEmpty() ? 0 : kOurOwner;
  ++owner_changes_;
}

}  // namespace voxmere
