// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_test_environment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "support/test_application.h"

namespace voxmere {
namespace {

class DesktopTestEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    // The manager forks: before Qt starts threads or connects to X.
    ASSERT_TRUE(session_manager_.Start()) << "the fake session manager did not start";
    application_ = test_support::MakeTestApplication<QApplication>(
        "xcb",
        {{"SESSION_MANAGER", session_manager_.NetworkIds().toUtf8()}, {"QT_FONT_DPI", "120"}});
    // Qt registers while the application is made; the manager then asks for
    // the first local save, which Qt answers on its own.
    const QStringList events = session_manager_.EventsUntil("save-yourself-done");
    ASSERT_EQ(events, QStringList({"registered", "save-yourself-done success=1"}));
  }

  void TearDown() override {
    application_.reset();
    EXPECT_EQ(session_manager_.EventsUntil("closed", 5000), QStringList({"closed"}));
  }

  FakeSessionManager session_manager_;

 private:
  std::unique_ptr<QApplication> application_;
};

DesktopTestEnvironment* const environment = static_cast<DesktopTestEnvironment*>(
    testing::AddGlobalTestEnvironment(new DesktopTestEnvironment));

}  // namespace

FakeSessionManager& TestSessionManager() { return environment->session_manager_; }

}  // namespace voxmere
