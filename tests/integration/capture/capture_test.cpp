// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <QTimer>
#include <chrono>
#include <ostream>

#include <X11/keysym.h>
#include <xcb/xcb.h>

#include "capture_test_env.h"
#include "platform/exception.h"
#include "platform/x11/clipboard_x11.h"
#include "platform/x11/event_pump_qt.h"
#include "platform/x11/focus_copy_qt.h"
#include "platform/x11/key_injector_x11.h"
#include "reading/selected_text.h"
#include "support/test_application.h"

// Test failures print texts readably.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace voxmere {
namespace {

using namespace capture_test;

class CaptureTest : public ::testing::Test {
 protected:
  // A QApplication on the private X server: like the real program it owns
  // the clipboard after a restore and serves it from its event loop, and its
  // focus widget copies.
  static void SetUpTestSuite() { test_support::TestApplication<QApplication>("xcb"); }

  void SetUp() override { ASSERT_TRUE(keys_.Available()) << "no XTest on the display"; }

  // Capture as the program runs it: on the user-interface thread, with the
  // platform's real services.
  QString Capture(Clipboard& clipboard) {
    return CaptureSelectedText({clipboard, focus_, keys_, pump_});
  }
  QString Capture() { return Capture(clipboard_); }

  // Selects the xterm's first row, showing `line`, and focuses the xterm;
  // returns the selected text (xterm takes the row's line end with it), or
  // an empty text when that failed. Xterm copies with the time of the
  // selection, so the clipboard must have got its old contents before.
  QString SelectXtermLine(const QString& window, const QString& line) {
    // Three clicks on the first row select the row, anew (the selection's
    // time changes) even when it was selected. On a busy machine the clicks
    // may come too far apart to count as one triple click: try again.
    const QByteArray before = PrimarySelection("TIMESTAMP");
    const auto done = [&](const QString& selected) {
      return selected.startsWith(line) && PrimarySelection("TIMESTAMP") != before;
    };
    QString selected;
    for (int attempt = 0; attempt < 5 && !done(selected); ++attempt) {
      Xdo({"mousemove", "--window", window, "20", "8", "click", "--repeat", "3", "--delay", "50",
           "1"});
      WaitFor(
          [&] {
            selected = QString::fromUtf8(PrimarySelection());
            return done(selected);
          },
          2000);
    }
    return done(selected) && Focus(window) ? selected : QString();
  }
  QString SelectedXterm(const QString& line) {
    const QString window = programs_.StartXterm(line);
    return window.isEmpty() ? QString() : SelectXtermLine(window, line);
  }

  // A GTK editor, focused, its first line "Words in the editor" selected.
  bool EditorWithFirstLineSelected() {
    const QString window = programs_.StartEditor("Words in the editor\nsecond line\n");
    return !window.isEmpty() && Focus(window) &&
           Xdo({"key", "--clearmodifiers", "ctrl+Home", "shift+End"}) &&
           WaitFor([] { return PrimarySelection() == "Words in the editor"; });
  }

  X11Clipboard clipboard_;
  QtFocusCopy focus_;
  X11KeyInjector keys_;
  QtEventPump pump_;
  Programs programs_;
};

TEST_F(CaptureTest, XtermSelectionIsReadAndTheOldClipboardComesBack) {
  QProcess& old_owner = programs_.OwnClipboard("old clipboard text");
  const QString window = programs_.StartXterm("Read this line aloud");
  ASSERT_FALSE(window.isEmpty());
  const QString selected = SelectXtermLine(window, "Read this line aloud");
  ASSERT_FALSE(selected.isEmpty());

  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(Capture(), selected);
  std::printf("capture with an xclip owner: %lld ms\n", static_cast<long long>(timer.elapsed()));
  // The copy took the clipboard from xclip, which then ended; we hold the
  // old text now.
  EXPECT_TRUE(WaitFor([&] { return old_owner.state() == QProcess::NotRunning; }));
  EXPECT_EQ(ReadClipboard().output, "old clipboard text");

  // Again with the old text on a clipboard that we own ourselves.
  QGuiApplication::clipboard()->setText("our own text");
  ASSERT_EQ(SelectXtermLine(window, "Read this line aloud"), selected);
  timer.restart();
  EXPECT_EQ(Capture(), selected);
  std::printf("capture with our own old text: %lld ms\n", static_cast<long long>(timer.elapsed()));
  EXPECT_EQ(ReadClipboard().output, "our own text");
  EXPECT_EQ(ReadClipboard("STRING").output, "our own text");
}

TEST_F(CaptureTest, GtkEditorSelectionIsReadFromAHeldAltInsHotKey) {
  ASSERT_TRUE(EditorWithFirstLineSelected());
  programs_.OwnClipboard("old clipboard text");

  // The user presses Alt+Ins, our hot key, and still holds both keys: the
  // press grabbed the whole keyboard for us, and the editor would take
  // Ctrl+C for Ctrl+Alt+C.
  GrabbedHotKey hot_key(XK_Insert, XCB_MOD_MASK_1);
  ASSERT_TRUE(hot_key.Grabbed());
  ASSERT_TRUE(Xdo({"keydown", "alt+Insert"}));
  ASSERT_TRUE(WaitFor([&] { return hot_key.Presses() == 1; }));
  QString captured;
  EXPECT_NO_THROW(captured = Capture());
  Xdo({"keyup", "Insert"});
  Xdo({"keyup", "alt"});
  EXPECT_EQ(captured, "Words in the editor");
  EXPECT_EQ(ReadClipboard().output, "old clipboard text");
}

QByteArray PngPicture() {
  QImage image(64, 48, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 4, y * 5, 200));
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

QByteArray RandomBytes(qsizetype size) {
  QByteArray bytes(size, Qt::Uninitialized);
  QRandomGenerator generator(42);
  for (char& byte : bytes) byte = static_cast<char>(generator.bounded(256));
  return bytes;
}

TEST_F(CaptureTest, ACtrlTheUserLetsGoOfDuringTheCopyDoesNotTypeIntoTheDocument) {
  ASSERT_TRUE(EditorWithFirstLineSelected());
  programs_.OwnClipboard("old clipboard text");

  // The user's Ctrl of the hot key is still down when the copy begins and
  // comes up between our Ctrl and our C: the C must still be Ctrl+C.
  ASSERT_TRUE(Xdo({"keydown", "Control_L"}));
  keys_.ReleaseHeldModifiers();
  keys_.KeyEvent(KeyInjector::kVkControl, false);
  ASSERT_TRUE(Xdo({"keyup", "Control_L"}));
  keys_.KeyEvent(KeyInjector::kVkC, false);
  keys_.KeyEvent(KeyInjector::kVkC, true);
  keys_.KeyEvent(KeyInjector::kVkControl, true);
  EXPECT_TRUE(WaitFor([] { return ReadClipboard().output == "Words in the editor"; }));
  EXPECT_EQ(PrimarySelection(), "Words in the editor") << "the selection was typed over";
}

TEST_F(CaptureTest, PicturesAndLargeDataComeBackByteForByte) {
  const QByteArray png = PngPicture();
  ASSERT_FALSE(png.isEmpty());
  programs_.OwnClipboard(png, "image/png");
  const QString window = programs_.StartXterm("Text over a picture");
  ASSERT_FALSE(window.isEmpty());
  const QString selected = SelectXtermLine(window, "Text over a picture");
  ASSERT_FALSE(selected.isEmpty());
  EXPECT_EQ(Capture(), selected);
  const RunResult picture = ReadClipboard("image/png");
  EXPECT_TRUE(picture.ok);
  EXPECT_EQ(picture.output, png);
  EXPECT_EQ(ClipboardTargets(), (QByteArrayList{"image/png"})) << "a format appeared or went";

  // Data far beyond one request goes both ways in pieces.
  const QByteArray large = RandomBytes(12 * 1024 * 1024);
  programs_.OwnClipboard(large, "application/x-voxmere-test");
  ASSERT_EQ(SelectXtermLine(window, "Text over a picture"), selected);
  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(Capture(), selected);
  std::printf("capture saving and restoring 12 MiB: %lld ms\n",
              static_cast<long long>(timer.elapsed()));
  const RunResult back = ReadClipboard("application/x-voxmere-test");
  EXPECT_TRUE(back.ok);
  EXPECT_EQ(back.output.size(), large.size());
  EXPECT_TRUE(back.output == large);
}

TEST_F(CaptureTest, AHugeEditorSelectionIsReadAndTheOldClipboardComesBack) {
  QString text;
  for (int line = 0; text.size() < 5 * 1000 * 1000; ++line) {
    text += QStringLiteral("Line %1 of a huge selection read aloud.\n").arg(line);
  }
  const QString window = programs_.StartEditor(text);
  ASSERT_FALSE(window.isEmpty());
  ASSERT_TRUE(Focus(window));
  ASSERT_TRUE(Xdo({"key", "--clearmodifiers", "ctrl+a"}));
  ASSERT_TRUE(WaitFor([] { return PrimarySelection().startsWith("Line 0 of"); }));
  programs_.OwnClipboard("KEEP");

  QElapsedTimer timer;
  timer.start();
  const QString captured = Capture();
  std::printf("capture of a 5 MB selection: %lld ms\n", static_cast<long long>(timer.elapsed()));
  EXPECT_EQ(captured.size(), text.size());
  EXPECT_TRUE(captured == text);
  // Once the editor answers, it has handled Ctrl+C: a copy of its own would
  // have come by then.
  EXPECT_FALSE(PrimarySelection("TIMESTAMP").isEmpty());
  EXPECT_EQ(ReadClipboard().output, "KEEP");
}

TEST_F(CaptureTest, BeyondTheSizeLimitTheTextAloneComesBack) {
  X11Clipboard limited(64 * 1024);
  programs_.OwnClipboard(RandomBytes(200 * 1024), "application/x-voxmere-test");
  const QString window = programs_.StartXterm("Limited");
  ASSERT_FALSE(window.isEmpty());
  const QString selected = SelectXtermLine(window, "Limited");
  ASSERT_FALSE(selected.isEmpty());
  EXPECT_EQ(Capture(limited), selected);
  // The old clipboard had no text: it is left empty.
  EXPECT_EQ(clipboard_.Owner(), 0u);
  EXPECT_EQ(ClipboardTargets(), QByteArrayList{});

  // A text with data within the limit keeps both.
  QGuiApplication::clipboard()->setText("small enough");
  // xterm may select the row with or without its line end this time.
  const QString reselected = SelectXtermLine(window, "Limited");
  ASSERT_TRUE(reselected.startsWith("Limited")) << reselected.toStdString();
  EXPECT_EQ(Capture(limited), reselected);
  EXPECT_EQ(ReadClipboard().output, "small enough");
}

TEST_F(CaptureTest, NothingSelectedReadsTheOldTextAndLeavesTheClipboardAlone) {
  const QString window = programs_.StartEditor("Nothing of this is selected\n");
  ASSERT_FALSE(window.isEmpty());
  ASSERT_TRUE(Focus(window));
  QProcess& old_owner = programs_.OwnClipboard("old clipboard text");
  const ClipboardOwner owner = clipboard_.Owner();

  // A copy that never comes: the wait runs its whole bound.
  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(Capture(), "old clipboard text");
  EXPECT_GE(timer.elapsed(), kCopyWaitMilliseconds);
  EXPECT_EQ(clipboard_.Owner(), owner);
  EXPECT_EQ(old_owner.state(), QProcess::Running);
  EXPECT_EQ(ReadClipboard().output, "old clipboard text");
}

TEST_F(CaptureTest, ACopyThatComesLateIsStillRead) {
  const QString window = programs_.StartEditor("Nothing of this is selected\n");
  ASSERT_FALSE(window.isEmpty());
  ASSERT_TRUE(Focus(window));
  programs_.OwnClipboard("old clipboard text");
  // A slow application: 80 ms after the capture began it puts its selection
  // on the clipboard (an xclip that takes the clipboard once its input ends).
  QProcess& late_owner =
      programs_.Start("xclip", {"-quiet", "-selection", "clipboard", "-t", "UTF8_STRING"});
  ASSERT_TRUE(late_owner.waitForStarted());
  late_owner.write("copied late");
  QTimer::singleShot(std::chrono::milliseconds(80), Qt::PreciseTimer,
                     [&] { late_owner.closeWriteChannel(); });

  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(Capture(), "copied late");
  std::printf("capture of a copy 80 ms late: %lld ms\n", static_cast<long long>(timer.elapsed()));
  EXPECT_GE(timer.elapsed(), 80);
  EXPECT_EQ(ReadClipboard().output, "old clipboard text");
}

TEST_F(CaptureTest, DirectReadingTakesTheScreenSelectionAndNeverTouchesTheClipboard) {
  QProcess& old_owner = programs_.OwnClipboard("old clipboard text");
  const ClipboardOwner owner = clipboard_.Owner();
  const std::uint64_t owner_changes = clipboard_.OwnerChanges();
  // Given ample time: on a loaded machine an application may take longer
  // than the copy wait to answer, and the reading would then copy instead
  // (the fall-back has a test of its own).
  const auto read_directly = [&] { return clipboard_.PrimaryText(2000); };

  const QString xterm_line = SelectedXterm("Selected in xterm");
  ASSERT_FALSE(xterm_line.isEmpty());
  EXPECT_EQ(read_directly(), xterm_line);

  const QString editor = programs_.StartEditor("Selected in a GTK editor\nsecond line\n");
  ASSERT_FALSE(editor.isEmpty());
  ASSERT_TRUE(Focus(editor));
  ASSERT_TRUE(Xdo({"key", "--clearmodifiers", "ctrl+Home", "shift+End"}));
  ASSERT_TRUE(WaitFor([] { return PrimarySelection() == "Selected in a GTK editor"; }));
  EXPECT_EQ(read_directly(), "Selected in a GTK editor");

  const QString qt_window = programs_.StartQtSelection("Selected in a Qt field");
  ASSERT_FALSE(qt_window.isEmpty());
  ASSERT_TRUE(Focus(qt_window));
  EXPECT_EQ(read_directly(), "Selected in a Qt field");

  // An owner that gives its picture for any format asked: no text.
  QTemporaryFile picture;
  ASSERT_TRUE(picture.open());
  picture.write(QByteArray("\x89PNG\r\n\x1a\n-picture", 17));
  picture.close();
  programs_.Start("xclip",
                  {"-quiet", "-selection", "primary", "-t", "image/png", "-i", picture.fileName()});
  ASSERT_TRUE(WaitFor([] { return PrimarySelection("image/png").startsWith("\x89PNG"); }));
  EXPECT_EQ(clipboard_.PrimaryText(kCopyWaitMilliseconds), "");

  // The clipboard never changed hands (a clipboard manager saw nothing).
  EXPECT_EQ(clipboard_.OwnerChanges(), owner_changes);
  EXPECT_EQ(clipboard_.Owner(), owner);
  EXPECT_EQ(old_owner.state(), QProcess::Running);
  EXPECT_EQ(ReadClipboard().output, "old clipboard text");
}

TEST_F(CaptureTest, DirectReadingFallsBackToTheCopyWhenTheSelectionsOwnerHangs) {
  programs_.OwnClipboard("old clipboard text");
  const QString window = programs_.StartQtSelection("Never given");
  ASSERT_FALSE(window.isEmpty());
  ASSERT_TRUE(Focus(window));
  const RunResult pid = capture_test::Run("xdotool", {"getwindowpid", window});
  ASSERT_TRUE(pid.ok);
  ASSERT_EQ(::kill(static_cast<pid_t>(pid.output.trimmed().toLongLong()), SIGSTOP), 0);

  // The selection's owner gets the copy wait, then the copy takes over; the
  // stopped application copies nothing either, so the old text is read.
  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(TakeSelectedText({clipboard_, focus_, keys_, pump_}, true), "old clipboard text");
  const qint64 elapsed = timer.elapsed();
  std::printf("direct reading from a hung owner, then the copy: %lld ms\n",
              static_cast<long long>(elapsed));
  EXPECT_GE(elapsed, 2 * kCopyWaitMilliseconds);
  EXPECT_LT(elapsed, 900);  // not the clipboard's one-second answer time
  // Woken, the field takes the Ctrl+C it missed: a copy after the capture.
  ::kill(static_cast<pid_t>(pid.output.trimmed().toLongLong()), SIGCONT);
}

TEST_F(CaptureTest, HungOwnerFailsWithinAboutASecondAndTheUiKeepsRunning) {
  QProcess& old_owner = programs_.OwnClipboard("old clipboard text");
  ASSERT_FALSE(SelectedXterm("Never read").isEmpty());
  ASSERT_EQ(::kill(static_cast<pid_t>(old_owner.processId()), SIGSTOP), 0);

  // A timer of the user interface: the longest pause between its ticks is
  // the longest time the program did not respond.
  QElapsedTimer since_tick;
  since_tick.start();
  qint64 longest_pause = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout,
                   [&] { longest_pause = std::max(longest_pause, since_tick.restart()); });
  ticker.start(10);

  QElapsedTimer timer;
  timer.start();
  QString message;
  try {
    Capture();
  } catch (const Exception& error) {
    message = error.Message();
  }
  const qint64 elapsed = timer.elapsed();
  test_support::PumpEventsFor(std::chrono::milliseconds(200));  // let the timer tick again
  longest_pause = std::max(longest_pause, since_tick.elapsed());
  std::printf("hung owner: failed after %lld ms, longest pause %lld ms\n",
              static_cast<long long>(elapsed), static_cast<long long>(longest_pause));
  EXPECT_EQ(message, "Cannot open clipboard");
  EXPECT_LT(elapsed, 2500);
  EXPECT_LT(longest_pause, 2500);
  // Nothing was typed: the xterm's selection never reached the clipboard.
  ::kill(static_cast<pid_t>(old_owner.processId()), SIGCONT);
  EXPECT_EQ(ReadClipboard().output, "old clipboard text");
}

TEST_F(CaptureTest, OurOwnFocusedFieldCopiesItsSelection) {
  programs_.OwnClipboard("old clipboard text");
  QLineEdit field;
  field.setText("an own field's words");
  field.show();
  field.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == &field; }));
  field.setSelection(7, 13);  // "field's words"

  EXPECT_EQ(Capture(), "field's words");
  EXPECT_EQ(ReadClipboard().output, "old clipboard text");
}

}  // namespace
}  // namespace voxmere
