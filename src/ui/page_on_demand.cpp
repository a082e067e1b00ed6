// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/page_on_demand.h"

#include <QVBoxLayout>
#include <utility>

namespace voxmere {
namespace {

bool TakesTabFocus(const QWidget& widget) {
  return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

}  // namespace

PageOnDemand::PageOnDemand(Builder build, QWidget* parent)
    : QWidget(parent), build_(std::move(build)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
}

void PageOnDemand::Build() {
  if (page_ != nullptr) return;
  page_ = build_(this);
  build_ = nullptr;
  layout()->addWidget(page_);
  // A layout shows what it gets only on the next turn of the event loop: the
  // page is there at once, for a focus asked of it right away.
  page_->show();
  PlaceInTabOrder();
}

void PageOnDemand::PlaceInTabOrder() {
  // New widgets join the end of the window's tab order, after OK and Cancel;
  // the page's controls belong where this tab stands in it.
  QWidget* before = previousInFocusChain();
  while (before != this && before != window() && !TakesTabFocus(*before)) {
    before = before->previousInFocusChain();
  }
  QList<QWidget*> controls;
  for (QWidget* next = window()->nextInFocusChain(); next != window();
       next = next->nextInFocusChain()) {
    if (page_->isAncestorOf(next) && next->focusPolicy() != Qt::NoFocus) controls.append(next);
  }
  if (TakesTabFocus(*before)) {
    for (QWidget* control : std::as_const(controls)) {
      QWidget::setTabOrder(before, control);
      before = control;
    }
  }
  // A page switch by keyboard from a control of the page before leaves the
  // focus here, on the empty tab.
  if (window()->focusWidget() != this) return;
  for (QWidget* control : std::as_const(controls)) {
    if (TakesTabFocus(*control) && control->isVisibleTo(this) && control->isEnabled()) {
      control->setFocus();
      return;
    }
  }
}

}  // namespace voxmere
