// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <set>
#include <string>

#include "fakes/fake_capture_log.h"
#include "platform/clipboard.h"

namespace voxmere {

// A clipboard in memory. Applications take it with Take(); our own restores
// make "us" (kOurOwner) its owner. Logs "Owner", "Save", "Text", "Restore".
// The screen's selection (PRIMARY) is kept apart.
class FakeClipboard : public Clipboard {
 public:
  static constexpr ClipboardOwner kOurOwner = 1;

  explicit FakeClipboard(CaptureLog& log) : log_(log) {}

  // An application becomes the owner with this text and these formats.
  void Take(ClipboardOwner owner, const QString& text,
            std::vector<std::pair<QString, QByteArray>> formats = {});
  const ClipboardContents& Current() const { return current_; }
  // An application selects this text on the screen; an owner that does not
  // answer gives nothing.
  void Select(const QString& text, bool answers = true) {
    primary_ = text;
    primary_answers_ = answers;
  }

  // From now on the named operation ("Save", "Text", "Restore") fails as an
  // unanswered owner does.
  void FailAt(const std::string& operation) { failing_.insert(operation); }

  ClipboardOwner Owner() override;
  ClipboardContents Save() override;
  // Every Take and Restore is a change; not logged.
  std::uint64_t OwnerChanges() override { return owner_changes_; }
  QString Text() override;
  // Logs "PrimaryText <ms>".
  QString PrimaryText(int milliseconds) override;
  // Logs "AskFocusedSelectionOwner"; asks `focused_selection_owner` (none:
  // false), which answers by calling Answer.
  bool AskFocusedSelectionOwner() override;
  bool FocusedSelectionOwnerAnswered() override { return answered_; }
  void Answer() { answered_ = true; }
  void Restore(const ClipboardContents& contents) override;

  std::function<void()> focused_selection_owner;

 private:
  void Enter(const std::string& operation);

  CaptureLog& log_;
  ClipboardContents current_;
  std::set<std::string> failing_;
  std::uint64_t owner_changes_ = 0;
  QString primary_;
  bool primary_answers_ = true;
  bool answered_ = false;
};

}  // namespace voxmere
