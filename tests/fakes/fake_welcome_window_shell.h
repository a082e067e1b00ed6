// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <utility>

#include "app/options_window.h"
#include "app/welcome_window.h"

namespace voxmere {

// The welcome window as its view drives the model: showing runs Shown,
// closing runs Hidden (both through the Guard). While "modal" it runs the
// test's script, which plays the user; the script must close the window.
class FakeWelcomeWindowShell : public WelcomeWindowShell {
 public:
  using Script = std::function<void(WelcomeWindow&, FakeWelcomeWindowShell&)>;

  FakeWelcomeWindowShell(WelcomeWindow& welcome, Script script)
      : welcome_(welcome), script_(std::move(script)) {}

  void ShowModal() override {
    visible_ = true;
    welcome_.Window().Guard([this] { welcome_.Shown(); });
    if (script_) script_(welcome_, *this);
  }
  void Close() override {
    if (!visible_) return;
    visible_ = false;
    welcome_.Window().Guard([this] { welcome_.Hidden(); });
  }
  bool Visible() const override { return visible_; }

 private:
  WelcomeWindow& welcome_;
  Script script_;
  bool visible_ = false;
};

}  // namespace voxmere
