// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

namespace voxmere {

// A tab of the options window whose page is built the first time the tab is
// selected: a window shown and hidden again without visiting a page never
// makes its widgets. The page takes the whole tab, its controls come in the
// tab order where they would have been had the page been built with the
// window, and the keyboard focus a page switch left on the empty tab goes to
// the page's first control.
class PageOnDemand : public QWidget {
  Q_OBJECT

 public:
  using Builder = std::function<QWidget*(QWidget* parent)>;

  PageOnDemand(Builder build, QWidget* parent = nullptr);

  // Builds the page now when it was not yet.
  void Build();
  bool Built() const { return page_ != nullptr; }

 private:
  void PlaceInTabOrder();

  Builder build_;
  QWidget* page_ = nullptr;
};

}  // namespace voxmere
