#include "desktop_test_environment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace voxmere {
namespace {

class DesktopTestEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    // The manager forks: before Qt starts threads or connects to X.
    ASSERT_TRUE(session_manager_.Start()) << "the fake session manager did not start";
    qputenv("SESSION_MANAGER", session_manager_.NetworkIds().toUtf8());
    qputenv("QT_FONT_DPI", "120");
    qputenv("QT_QPA_PLATFORM", "xcb");
    application_ = std::make_unique<QApplication>(argc_, argv_);
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
  int argc_ = 1;
  char name_[32] = "desktop_integration_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

DesktopTestEnvironment* const environment = static_cast<DesktopTestEnvironment*>(
    testing::AddGlobalTestEnvironment(new DesktopTestEnvironment));

}  // namespace

FakeSessionManager& TestSessionManager() { return environment->session_manager_; }

}  // namespace voxmere
