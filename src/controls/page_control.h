// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace voxmere {

// The options window's page control: the active page by index. Every switch
// to another page, by the user or the program, reports PageChanged.
class PageControl : public QObject {
  Q_OBJECT

 public:
  explicit PageControl(const QString& name, int page_count, QObject* parent = nullptr)
      : QObject(parent), page_count_(page_count) {
    setObjectName(name);
  }

  int ActivePageIndex() const { return active_; }
  // An index outside the pages is ignored.
  void SetActivePageIndex(int index) {
    if (index < 0 || index >= page_count_ || index == active_) return;
    active_ = index;
    emit PageChanged(active_);
  }

 signals:
  void PageChanged(int index);

 private:
  int page_count_;
  int active_ = 0;
};

}  // namespace voxmere
