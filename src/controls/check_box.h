// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace voxmere {

// A check box of a window, as the window's model holds it. The view shows
// Checked() and reports the user's clicks through Click().
class CheckBox : public QObject {
  Q_OBJECT

 public:
  CheckBox(const QString& name, const QString& caption, bool checked = false,
           QObject* parent = nullptr)
      : QObject(parent), caption_(caption), checked_(checked) {
    setObjectName(name);
  }

  const QString& Caption() const { return caption_; }
  bool Checked() const { return checked_; }
  // By the program or the user alike; reports only a change.
  void SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    emit CheckedChanged(checked_);
  }
  // The user clicked the box: it toggles.
  void Click() { SetChecked(!checked_); }

 signals:
  void CheckedChanged(bool checked);

 private:
  QString caption_;
  bool checked_;
};

}  // namespace voxmere
