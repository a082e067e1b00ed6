#include <gtest/gtest.h>

#include "ui_fixture.h"

namespace voxmere {
namespace {

VoxmereApplication* application = nullptr;

// Lets go of the application when the tests are done: Qt's font caches go
// with it, and its destructor runs before Qt's globals are torn down.
class UiTestEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    delete application;
    application = nullptr;
  }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new UiTestEnvironment);

}  // namespace

VoxmereApplication& UiApplication() {
  if (application == nullptr) {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new VoxmereApplication(argc, argv);
  }
  return *application;
}

}  // namespace voxmere
