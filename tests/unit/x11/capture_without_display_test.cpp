// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include "platform/x11/clipboard_x11.h"
#include "platform/x11/event_pump_qt.h"
#include "platform/x11/focus_copy_qt.h"
#include "platform/x11/key_injector_x11.h"
#include "support/test_application.h"

namespace voxmere {
namespace {

// Capture's services under a Qt platform without X (offscreen): the
// clipboard is Qt's own, nothing is typed, nothing crashes.
class CaptureWithoutDisplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test_support::TestApplication<QGuiApplication>("offscreen"); }
  void SetUp() override { QGuiApplication::clipboard()->clear(); }
};

TEST_F(CaptureWithoutDisplay, ClipboardSavesAndRestoresEveryFormat) {
  X11Clipboard clipboard;
  EXPECT_EQ(clipboard.Owner(), 0u);
  EXPECT_TRUE(clipboard.Save().IsEmpty());
  EXPECT_EQ(clipboard.Text(), "");

  auto* data = new QMimeData;
  data->setText(QString("before") + QChar(0) + "after");
  data->setData("image/png", "picture bytes");
  data->setData("text/html", "<i>rich</i>");
  QGuiApplication::clipboard()->setMimeData(data);
  EXPECT_NE(clipboard.Owner(), 0u);
  // Text ends at the first zero character.
  EXPECT_EQ(clipboard.Text(), "before");
  const ClipboardContents saved = clipboard.Save();
  EXPECT_EQ(saved.text, "before");
  EXPECT_FALSE(saved.text_only);
  ASSERT_EQ(saved.formats.size(), 2u);

  QGuiApplication::clipboard()->setText("something else");
  clipboard.Restore(saved);
  const QMimeData* back = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->text(), "before");
  EXPECT_EQ(back->data("image/png"), "picture bytes");
  EXPECT_EQ(back->data("text/html"), "<i>rich</i>");

  // Empty contents leave the clipboard empty.
  clipboard.Restore(ClipboardContents{});
  EXPECT_EQ(clipboard.Owner(), 0u);
}

TEST_F(CaptureWithoutDisplay, BeyondTheLimitTheTextAloneIsSaved) {
  X11Clipboard clipboard(100);
  auto* data = new QMimeData;
  data->setText("kept");
  data->setData("image/png", QByteArray(60, 'a'));
  data->setData("image/bmp", QByteArray(60, 'b'));
  QGuiApplication::clipboard()->setMimeData(data);
  const ClipboardContents saved = clipboard.Save();
  EXPECT_TRUE(saved.text_only);
  EXPECT_EQ(saved.text, "kept");
  EXPECT_TRUE(saved.formats.empty());
}

TEST_F(CaptureWithoutDisplay, NothingIsTypedAndNothingCopied) {
  X11KeyInjector keys;
  EXPECT_FALSE(keys.Available());
  keys.EndKeyboardGrab();
  keys.ReleaseHeldModifiers();
  keys.KeyEvent(KeyInjector::kVkControl, false);
  keys.KeyEvent(KeyInjector::kVkControl, true);
  // Without QApplication there is no focus widget to copy.
  QGuiApplication::clipboard()->setText("old text");
  QtFocusCopy().CopyFocusedSelection();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "old text");
}

TEST_F(CaptureWithoutDisplay, TheWaitHandlesEventsAndEndsOnceItsConditionHolds) {
  QtEventPump pump;
  bool ticked = false;
  QTimer::singleShot(10, [&] { ticked = true; });
  QElapsedTimer timer;
  timer.start();
  pump.WaitUntil(60, [] { return false; });
  EXPECT_GE(timer.elapsed(), 60);
  EXPECT_TRUE(ticked);

  // A condition no event announces (news on another connection) is still
  // seen soon after it turns true, long before the bound.
  timer.restart();
  pump.WaitUntil(2000, [&] { return timer.elapsed() >= 20; });
  EXPECT_GE(timer.elapsed(), 20);
  EXPECT_LT(timer.elapsed(), 1000);

  bool posted = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&] { posted = true; }, Qt::QueuedConnection);
  pump.ProcessEvents();
  EXPECT_TRUE(posted);
}

}  // namespace
}  // namespace voxmere
