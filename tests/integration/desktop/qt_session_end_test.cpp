// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/qt_session_end.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <stdexcept>

#include "desktop_test_environment.h"
#include "modal_box_watcher.h"
#include "platform/desktop/qt_message_boxes.h"

namespace voxmere {
namespace {

using Interaction = FakeSessionManager::Interaction;

// One log-off as the session manager runs it; the client's reports.
QStringList LogOff(Interaction interaction) {
  TestSessionManager().SendShutdownSave(interaction);
  return TestSessionManager().EventsUntil("save-yourself-done");
}

TEST(QtSessionEndTest, TheAnswerReachesTheSessionManager) {
  QtSessionEnd session_end(qApp);
  int asked = 0;
  bool answer = true;
  session_end.SetQueryHandler([&] {
    ++asked;
    return answer;
  });

  // Yes: the save is done and the log-off goes on, with no interaction asked
  // for (a desktop would show us as holding up the log-off).
  EXPECT_EQ(LogOff(Interaction::kAny), QStringList({"save-yourself-done success=1"}));
  EXPECT_EQ(asked, 1);

  // No: the shutdown is cancelled, which XSMP lets a client do only while it
  // interacts.
  answer = false;
  EXPECT_EQ(LogOff(Interaction::kAny),
            QStringList({"interact-request error", "interact-done cancel=1",
                         "save-yourself-done success=0"}));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(LogOff(Interaction::kErrors),
            QStringList({"interact-request error", "interact-done cancel=1",
                         "save-yourself-done success=0"}));
  // A session manager that allows no interaction cannot be stopped; the
  // refusal still shows as an unsuccessful save.
  EXPECT_EQ(LogOff(Interaction::kNone), QStringList({"save-yourself-done success=0"}));
  EXPECT_EQ(asked, 4);

  // A handler that fails lets the session end.
  session_end.SetQueryHandler([&]() -> bool {
    ++asked;
    throw std::runtime_error("broken handler");
  });
  EXPECT_EQ(LogOff(Interaction::kAny), QStringList({"save-yourself-done success=1"}));
  EXPECT_EQ(asked, 5);

  // No handler: nothing stands in the way.
  session_end.SetQueryHandler(nullptr);
  EXPECT_EQ(LogOff(Interaction::kAny), QStringList({"save-yourself-done success=1"}));
}

TEST(QtSessionEndTest, TheHandlerMayShowAMessageWhenTheManagerAllows) {
  QtSessionEnd session_end(qApp);
  QtMessageBoxes boxes;
  EXPECT_FALSE(session_end.RequestInteraction()) << "nothing is being asked";

  int shown = 0;
  bool granted = false;
  session_end.SetQueryHandler([&] {
    granted = session_end.RequestInteraction();
    if (granted) {
      ModalBoxWatcher watcher([&shown](QMessageBox* box) {
        ++shown;
        box->button(QMessageBox::Ok)->click();
      });
      boxes.Information("Voxmere will now be minimized into the system tray.");
    }
    return true;
  });

  EXPECT_EQ(LogOff(Interaction::kAny),
            QStringList({"interact-request normal", "interact-done cancel=0",
                         "save-yourself-done success=1"}));
  EXPECT_TRUE(granted);
  EXPECT_EQ(shown, 1);

  // Without leave to interact the handler is told so and shows nothing.
  EXPECT_EQ(LogOff(Interaction::kErrors), QStringList({"save-yourself-done success=1"}));
  EXPECT_FALSE(granted);
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace voxmere
