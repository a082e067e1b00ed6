// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/selected_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "fakes/fake_clipboard.h"
#include "fakes/fake_event_pump.h"
#include "fakes/fake_focus_copy.h"
#include "fakes/fake_key_injector.h"
#include "platform/exception.h"

// Test failures print texts readably.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace voxmere {
namespace {

constexpr ClipboardOwner kOldOwner = 7;
constexpr ClipboardOwner kEditor = 8;
constexpr int kAlt = 0x12;
constexpr int kInsert = 0x2D;

using Formats = std::vector<std::pair<QString, QByteArray>>;

const Formats kPicture = {{"image/png", QByteArray("\x89PNG\r\n\x1a\n-picture", 17)},
                          {"text/html", "<b>old</b>"}};

class SelectedTextTest : public ::testing::Test {
 protected:
  SelectedTextTest() {
    clipboard_.Take(kOldOwner, "old text", kPicture);
    // The focused editor: like a GTK application it copies on Ctrl+C only
    // when no other modifier is down, and it answers through its own events.
    keys_.on_press = [this](const FakeKeyInjector::Press& press) {
      presses_.push_back(press);
      if (press.grabbed || press.virtual_key != KeyInjector::kVkC) return;
      if (!press.held.contains(KeyInjector::kVkControl) || press.held.contains(kAlt)) return;
      if (editor_selection_.isEmpty()) return;
      pump_.Post([this] { clipboard_.Take(kEditor, editor_selection_); });
    };
  }

  QString Capture() { return CaptureSelectedText(services_); }

  CaptureLog log_;
  FakeClipboard clipboard_{log_};
  FakeFocusCopy focus_{log_};
  FakeKeyInjector keys_{log_};
  FakeEventPump pump_{log_};
  CaptureServices services_{clipboard_, focus_, keys_, pump_};
  QString editor_selection_;
  std::vector<FakeKeyInjector::Press> presses_;
};

// Up to the read, the wait ending once the copy came, or at the bound (and
// then asking whether the focused application has a copy still to come).
CaptureLog UpToRead(const std::string& wait_end, const CaptureLog& late_wait = {}) {
  CaptureLog log{"Save",          "CopyFocusedSelection", "EndKeyboardGrab", "ReleaseHeldModifiers",
                 "KeyDown 0x11",  "KeyDown 0x43",         "KeyUp 0x43",      "KeyUp 0x11",
                 "ProcessEvents", "Wait 100 until",       wait_end};
  if (wait_end == "ran out") log.push_back("AskFocusedSelectionOwner");
  log.insert(log.end(), late_wait.begin(), late_wait.end());
  for (const char* entry : {"ProcessEvents", "Text", "Owner"}) log.push_back(entry);
  return log;
}
const CaptureLog kCopiedUpToRead = UpToRead("ended early");

CaptureLog With(CaptureLog log, const std::string& last) {
  log.push_back(last);
  return log;
}

TEST_F(SelectedTextTest, ReadsTheSelectionAndPutsEveryFormatBack) {
  editor_selection_ = "selected words";
  EXPECT_EQ(Capture(), "selected words");
  EXPECT_EQ(log_, With(kCopiedUpToRead, "Restore"));
  // The old text, the picture and the rich text are all back.
  EXPECT_EQ(clipboard_.Current().text, "old text");
  EXPECT_EQ(clipboard_.Current().formats, kPicture);
  EXPECT_EQ(clipboard_.Current().owner, FakeClipboard::kOurOwner);
  EXPECT_TRUE(pump_.Idle());
}

TEST_F(SelectedTextTest, HeldHotKeyModifiersAndTheGrabDoNotStopTheCopy) {
  // Alt+Ins is still held and its press grabbed the keyboard.
  keys_.Hold(kAlt);
  keys_.Hold(kInsert);
  keys_.Grab();
  editor_selection_ = "read with Alt held";
  EXPECT_EQ(Capture(), "read with Alt held");
  ASSERT_EQ(presses_.size(), 2u);
  EXPECT_FALSE(presses_[1].grabbed);
  // Alt was released before Ctrl+C; the plain key stays down (the user holds
  // it), and Ctrl and C are up again afterwards.
  EXPECT_EQ(presses_[0].held, std::set<int>{kInsert});
  EXPECT_EQ(presses_[1].held, (std::set<int>{kInsert, KeyInjector::kVkControl}));
  EXPECT_EQ(keys_.Held(), std::set<int>{kInsert});
  EXPECT_EQ(clipboard_.Current().text, "old text");
}

TEST_F(SelectedTextTest, NothingCopiedReadsTheOldTextAndLeavesTheClipboardAlone) {
  EXPECT_EQ(Capture(), "old text");
  EXPECT_EQ(log_, UpToRead("ran out"));  // no restore, the full wait
  EXPECT_EQ(clipboard_.Current().owner, kOldOwner);
  EXPECT_EQ(clipboard_.Current().formats, kPicture);

  // A picture alone and nothing copied: empty text, and the picture stays.
  clipboard_.Take(kOldOwner, "", kPicture);
  EXPECT_EQ(Capture(), "");
  EXPECT_EQ(clipboard_.Current().owner, kOldOwner);
  EXPECT_EQ(clipboard_.Current().formats, kPicture);

  // An empty clipboard stays empty.
  clipboard_.Take(0, "");
  EXPECT_EQ(Capture(), "");
  EXPECT_EQ(clipboard_.Current().owner, 0u);
  EXPECT_EQ(log_.back(), "Owner");
}

TEST_F(SelectedTextTest, ACopySlowerThanTheWaitIsAwaitedUntilTheApplicationAnswers) {
  // The focused editor holds a huge selection: its copy comes after the
  // bound, its answer after the copy (it handles its events in order).
  const auto editor = [this](const QString& selection) {
    clipboard_.focused_selection_owner = [this, selection] {
      pump_.Post([this, selection] {
        if (!selection.isEmpty()) clipboard_.Take(kEditor, selection);
        clipboard_.Answer();
      });
    };
  };
  editor("a huge selection");
  EXPECT_EQ(Capture(), "a huge selection");
  EXPECT_EQ(log_, With(UpToRead("ran out", {"Wait 2000 until", "ended early"}), "Restore"));
  EXPECT_EQ(clipboard_.Current().text, "old text");
  EXPECT_EQ(clipboard_.Current().formats, kPicture);

  // Its answer without a copy ends the wait too: nothing was copied.
  clipboard_.Take(kOldOwner, "old text", kPicture);
  editor("");
  log_.clear();
  EXPECT_EQ(Capture(), "old text");
  EXPECT_EQ(log_, UpToRead("ran out", {"Wait 2000 until", "ended early"}));
  EXPECT_EQ(clipboard_.Current().owner, kOldOwner);
}

TEST_F(SelectedTextTest, SameOwnerWithNewTextIsACopyAndIsUndone) {
  // The owner of the old text copies again (a new selection in the same
  // window): the owner is unchanged, the text is not.
  keys_.on_press = [this](const FakeKeyInjector::Press& press) {
    if (press.virtual_key == KeyInjector::kVkC) clipboard_.Take(kOldOwner, "newer selection");
  };
  EXPECT_EQ(Capture(), "newer selection");
  EXPECT_EQ(log_.back(), "Restore");
  EXPECT_EQ(clipboard_.Current().text, "old text");
  EXPECT_EQ(clipboard_.Current().formats, kPicture);

  // Nobody owned the clipboard and a selection was copied: afterwards it is
  // empty again.
  clipboard_.Take(0, "");
  editor_selection_ = "copied";
  keys_.on_press = [this](const FakeKeyInjector::Press& press) {
    if (press.virtual_key == KeyInjector::kVkC) clipboard_.Take(kEditor, editor_selection_);
  };
  EXPECT_EQ(Capture(), "copied");
  EXPECT_EQ(clipboard_.Current().owner, 0u);
  EXPECT_TRUE(clipboard_.Current().IsEmpty());
}

TEST_F(SelectedTextTest, OurOwnFocusedFieldCopiesBeforeTheKeysAreTyped) {
  focus_.on_copy = [this] {
    EXPECT_TRUE(presses_.empty());
    clipboard_.Take(FakeClipboard::kOurOwner, "field selection");
  };
  EXPECT_EQ(Capture(), "field selection");
  // Our own copy, too, ends the wait.
  EXPECT_EQ(log_, With(kCopiedUpToRead, "Restore"));
  EXPECT_EQ(clipboard_.Current().text, "old text");
  EXPECT_EQ(clipboard_.Current().owner, FakeClipboard::kOurOwner);
}

TEST_F(SelectedTextTest, FailuresEndCaptureWhereTheyHappen) {
  editor_selection_ = "selection";
  // Saving fails: nothing is typed, the clipboard is untouched.
  clipboard_.FailAt("Save");
  try {
    Capture();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Cannot open clipboard");
  }
  EXPECT_EQ(log_, CaptureLog{"Save"});
  EXPECT_TRUE(presses_.empty());
  EXPECT_EQ(clipboard_.Current().owner, kOldOwner);
}

TEST_F(SelectedTextTest, FailureAtTheReadOrTheRestoreKeepsWhatTheCopyLeft) {
  editor_selection_ = "selection";
  clipboard_.FailAt("Text");
  EXPECT_THROW(Capture(), Exception);
  EXPECT_EQ(log_.back(), "Text");
  EXPECT_EQ(clipboard_.Current().text, "selection");
  EXPECT_EQ(clipboard_.Current().owner, kEditor);

  FakeClipboard restore_fails(log_);
  restore_fails.Take(kOldOwner, "old text");
  restore_fails.FailAt("Restore");
  keys_.on_press = [&](const FakeKeyInjector::Press& press) {
    if (press.virtual_key == KeyInjector::kVkC) restore_fails.Take(kEditor, "selection");
  };
  log_.clear();
  CaptureServices services{restore_fails, focus_, keys_, pump_};
  EXPECT_THROW(CaptureSelectedText(services), Exception);
  EXPECT_EQ(log_, With(kCopiedUpToRead, "Restore"));
  EXPECT_EQ(restore_fails.Current().text, "selection");
}

TEST_F(SelectedTextTest, ACaptureInsideTheWaitDoesNotSpoilTheOuterRestore) {
  editor_selection_ = "first selection";
  pump_.during_wait = [this] {
    // A further hot key arrives during the wait; the user has selected
    // something else by then.
    editor_selection_ = "second selection";
    EXPECT_EQ(Capture(), "second selection");
    EXPECT_EQ(clipboard_.Current().text, "first selection");
  };
  EXPECT_EQ(Capture(), "first selection");
  EXPECT_EQ(clipboard_.Current().text, "old text");
  EXPECT_EQ(clipboard_.Current().formats, kPicture);
}

TEST_F(SelectedTextTest, DirectReadingTakesTheScreenSelectionAndFallsBackToTheCopy) {
  editor_selection_ = "copied selection";
  clipboard_.Select("highlighted words");
  EXPECT_EQ(TakeSelectedText(services_, true), "highlighted words");
  // No copy, no key, and the clipboard was never asked or touched.
  EXPECT_EQ(log_, CaptureLog{"PrimaryText 100"});
  EXPECT_TRUE(presses_.empty());
  EXPECT_EQ(clipboard_.Current().owner, kOldOwner);

  // Nothing selected on the screen, or an owner that does not answer within
  // the wait: the copy capture, as without the option.
  for (const bool answers : {true, false}) {
    clipboard_.Select(answers ? "" : "never given", answers);
    log_.clear();
    EXPECT_EQ(TakeSelectedText(services_, true), "copied selection");
    CaptureLog expected{"PrimaryText 100"};
    for (const std::string& entry : With(kCopiedUpToRead, "Restore")) expected.push_back(entry);
    EXPECT_EQ(log_, expected);
    EXPECT_EQ(clipboard_.Current().text, "old text");
  }

  // Without the option the screen's selection is not looked at.
  clipboard_.Select("highlighted words");
  log_.clear();
  EXPECT_EQ(TakeSelectedText(services_, false), "copied selection");
  EXPECT_EQ(log_, With(kCopiedUpToRead, "Restore"));
}

TEST_F(SelectedTextTest, GetSelectedTextPreparesTheCapturedText) {
  editor_selection_ = "a*b_c";
  PronunciationTable corrections;
  corrections.push_back({.word = "b", .pronunciation = "bee", .case_sensitive = "Yes"});
  const PreparationInputs inputs{.ignore_characters = true,
                                 .ignored_characters = "*_",
                                 .words_corrections = true,
                                 .corrections = &corrections};
  EXPECT_EQ(GetSelectedText(services_, inputs, false), "a bee c");
  // The clipboard still gets its old contents, not the prepared text.
  EXPECT_EQ(clipboard_.Current().text, "old text");
}

}  // namespace
}  // namespace voxmere
