#pragma once

#include <QApplication>
#include <QString>
#include <memory>
#include <ostream>

#include "fakes/fake_key_event_conversion.h"
#include "ui/options_window_view.h"
#include "ui/tray_icon_view.h"
#include "ui/voxmere_application.h"
#include "unit/app/app_fixture.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace voxmere {

// One application object for the whole executable, on the offscreen
// platform, made before any fixture could make a plain QCoreApplication.
// The test environment (ui_test_environment.cpp) destroys it after the last
// test, while Qt's own globals still exist.
VoxmereApplication& UiApplication();

// The options window's model on fakes, with the real views attached, created
// and started as the program does it.
struct UiFixture {
  UiFixture() {
    UiApplication();
    fakes.frm = fakes.Build();
    view = std::make_unique<OptionsWindowView>(*fakes.frm, keys);
    tray = std::make_unique<TrayIconView>(*fakes.frm);
  }
  ~UiFixture() {
    tray.reset();
    view.reset();
  }

  OptionsWindow& Start() {
    Frm().Initialize();
    Frm().ShowAtStart();
    return Frm();
  }
  OptionsWindow& Frm() { return *fakes.frm; }
  template <typename Widget>
  Widget* Find(const QString& name) const {
    return view->findChild<Widget*>(name);
  }

  AppFixture fakes;
  FakeKeyEventConversion keys;
  std::unique_ptr<OptionsWindowView> view;
  std::unique_ptr<TrayIconView> tray;
};

}  // namespace voxmere
