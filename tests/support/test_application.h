// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <errno.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QtGlobal>
#include <memory>
#include <utility>
#include <vector>

namespace voxmere::test_support {

// Variables a test program sets before its application is made (Qt reads
// them while the object is made): name and value.
using Environment = std::vector<std::pair<QByteArray, QByteArray>>;

namespace internal {

// argc and argv must outlive the object they are given to; one application
// lives at a time, so one set serves the whole program.
struct Arguments {
  int argc = 1;
  QByteArray program;
  char* argv[2] = {nullptr, nullptr};
};

inline Arguments& ArgumentsFor(const QByteArray& program) {
  static Arguments arguments;
  arguments.argc = 1;
  arguments.program = program;
  arguments.argv[0] = arguments.program.data();
  return arguments;
}

// Ends the application when the test program is done, before main returns:
// one of static storage would outlive Qt globals that were made after it
// (and crash in its destructor), and one that is never deleted keeps caches
// (fonts, windows) that the leak checker reports.
class ApplicationEnder : public ::testing::EmptyTestEventListener {
 public:
  explicit ApplicationEnder(QCoreApplication* application) : application_(application) {}
  void OnTestProgramEnd(const ::testing::UnitTest&) override {
    delete application_;
    application_ = nullptr;
  }

 private:
  QCoreApplication* application_;
};

}  // namespace internal

// Sets the environment and makes an application object: QCoreApplication,
// QGuiApplication, QApplication or a subclass. `platform` is QT_QPA_PLATFORM
// for a GUI application: "offscreen" (a window system without X) or "xcb"
// (the private X server of an integration test); empty leaves it as it is.
// `program` is argv[0], the test program's own path unless given. For a
// test environment that must end the object at a moment of its own; tests
// use TestApplication().
template <typename Application = QCoreApplication>
std::unique_ptr<Application> MakeTestApplication(
    const QByteArray& platform = {}, const Environment& environment = {},
    const QByteArray& program = program_invocation_name) {
  if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform);
  for (const auto& [variable, value] : environment) qputenv(variable.constData(), value);
  internal::Arguments& arguments = internal::ArgumentsFor(program);
  return std::make_unique<Application>(arguments.argc, arguments.argv);
}

// The test program's one application object, made as MakeTestApplication
// makes it by the first caller (later callers' arguments are not looked at)
// and ended after the last test. Every caller in a program asks for the same
// type or a base of it: a QApplication cannot be made once a
// QCoreApplication exists.
template <typename Application = QCoreApplication>
Application& TestApplication(const QByteArray& platform = {}, const Environment& environment = {},
                             const QByteArray& program = program_invocation_name) {
  if (QCoreApplication::instance() == nullptr) {
    Application* made = MakeTestApplication<Application>(platform, environment, program).release();
    ::testing::UnitTest::GetInstance()->listeners().Append(new internal::ApplicationEnder(made));
  }
  auto* application = qobject_cast<Application*>(QCoreApplication::instance());
  if (application == nullptr) {
    qFatal("the test program's application is a %s, not a %s",
           QCoreApplication::instance()->metaObject()->className(),
           Application::staticMetaObject.className());
  }
  return *application;
}

}  // namespace voxmere::test_support
