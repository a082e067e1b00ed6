// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <utility>

namespace voxmere {

// Waits, from the event loop a modal box runs, for the box to come up, then
// hands it to `act`, which must close it (click a button, press a key).
class ModalBoxWatcher {
 public:
  explicit ModalBoxWatcher(std::function<void(QMessageBox*)> act) : act_(std::move(act)) {
    clock_.start();
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }

  bool Acted() const { return acted_; }

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box->isVisible()) {
      timer_.stop();
      acted_ = true;
      QPointer<QMessageBox> guard = box;
      act_(box);
      // A box the action left open would hang the test: close it.
      if (guard && guard->isVisible()) guard->done(QDialog::Rejected);
    } else if (clock_.hasExpired(15000)) {
      timer_.stop();
    }
  }

  std::function<void(QMessageBox*)> act_;
  QTimer timer_;
  QElapsedTimer clock_;
  bool acted_ = false;
};

}  // namespace voxmere
