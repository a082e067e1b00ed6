// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <ostream>

#include "fakes/fake_key_event_conversion.h"
#include "support/test_application.h"
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
inline VoxmereApplication& UiApplication() {
  return test_support::TestApplication<VoxmereApplication>("offscreen");
}

// The options window's model on fakes, with the real views attached, created
// and started as the program does it.
struct UiFixture {
  UiFixture() {
    fakes.window = fakes.Build();
    view = std::make_unique<OptionsWindowView>(*fakes.window, keys);
    tray = std::make_unique<TrayIconView>(*fakes.window);
  }
  ~UiFixture() {
    tray.reset();
    view.reset();
  }

  OptionsWindow& Start() {
    Window().Initialize();
    Window().ShowAtStart();
    return Window();
  }
  OptionsWindow& Window() { return *fakes.window; }
  template <typename Widget>
  Widget* Find(const QString& name) const {
    return view->findChild<Widget*>(name);
  }

  // First: the fakes' fixture would make a plain QCoreApplication.
  VoxmereApplication& application = UiApplication();
  AppFixture fakes;
  FakeKeyEventConversion keys;
  std::unique_ptr<OptionsWindowView> view;
  std::unique_ptr<TrayIconView> tray;
};

}  // namespace voxmere
