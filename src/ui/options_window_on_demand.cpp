// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options_window_on_demand.h"

#include <malloc.h>
#include <QCoreApplication>
#include <QFont>
#include <QRect>

#include "app/options_window.h"
#include "ui/options_window_view.h"

namespace voxmere {

OptionsWindowOnDemand::OptionsWindowOnDemand(OptionsWindow& window, const KeyEventConversion& keys)
    : window_(window), keys_(keys) {
  window_.AttachShell(this);
}

OptionsWindowOnDemand::~OptionsWindowOnDemand() {
  view_.reset();
  // It must not outlive the model it detaches from.
  delete going_.data();
  window_.DetachShell(this);
}

OptionsWindowView& OptionsWindowOnDemand::View() {
  if (view_ == nullptr) {
    view_ = std::make_unique<OptionsWindowView>(window_, keys_);
    // The view attaches itself; the model keeps talking to us.
    window_.AttachShell(this);
    if (position_) view_->MoveTo(*position_);
    if (!focus_.isEmpty()) view_->FocusControl(focus_);
  }
  return *view_;
}

bool OptionsWindowOnDemand::QuitRequested() const {
  return quit_requested_ || (view_ != nullptr && view_->QuitRequested());
}

void OptionsWindowOnDemand::ShowInFront() { View().ShowInFront(); }

void OptionsWindowOnDemand::Hide() {
  if (view_ == nullptr) return;
  view_->Hide();
  // The hidden window goes, and its memory with it; it is built again when
  // it shows, where it was and with the focus where it was.
  position_ = view_->pos();
  frame_size_ = view_->FrameSize();
  focus_ = view_->ActiveControl();
  OptionsWindowView* view = view_.release();
  going_ = view;
  QObject::connect(view, &QObject::destroyed, [] {
    // Qt keeps the window's fonts (their FreeType faces, glyph caches and
    // mapped font files, about 1 MiB) for the rest of the run; the tray's
    // menu makes its own again when it shows. Fonts still in use are kept.
    QFont::cleanup();
    malloc_trim(0);
  });
  view->deleteLater();
  window_.AttachShell(this);
}

void OptionsWindowOnDemand::Minimize() { View().Minimize(); }

bool OptionsWindowOnDemand::Visible() const { return view_ != nullptr && view_->Visible(); }

bool OptionsWindowOnDemand::Minimized() const { return view_ != nullptr && view_->Minimized(); }

WindowPlacement OptionsWindowOnDemand::Placement() const {
  if (view_ != nullptr) return view_->Placement();
  const QPoint top_left = position_.value_or(OptionsWindowView::CentredPosition());
  return OptionsWindowView::PlacementOf(QRect(top_left, FrameSize()), false);
}

QSize OptionsWindowOnDemand::FrameSize() const {
  if (view_ != nullptr) return view_->FrameSize();
  // A window never shown has no frame yet: its frame is its client area.
  return frame_size_.value_or(
      QSize(OptionsWindowView::kClientWidth, OptionsWindowView::kClientHeight));
}

void OptionsWindowOnDemand::MoveTo(QPoint top_left) {
  if (view_ != nullptr) {
    view_->MoveTo(top_left);
  } else {
    position_ = top_left;
  }
}

QString OptionsWindowOnDemand::ActiveControl() const {
  if (view_ != nullptr) return view_->ActiveControl();
  return focus_;
}

bool OptionsWindowOnDemand::FocusControl(const QString& name) {
  if (view_ != nullptr) return view_->FocusControl(name);
  // Whether it can take the focus is known once the window is built; the
  // name came from cfg.ini and goes back there unchanged until then.
  focus_ = name;
  return !name.isEmpty();
}

void OptionsWindowOnDemand::Quit() {
  if (view_ != nullptr) {
    view_->Quit();
    return;
  }
  quit_requested_ = true;
  QCoreApplication::quit();
}

}  // namespace voxmere
