// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace voxmere {

// An entry of a menu, or a button: caption, enabled state, and the click the
// view reports. A caption "-" is a separator.
class MenuEntry : public QObject {
  Q_OBJECT

 public:
  MenuEntry(const QString& name, const QString& caption, bool enabled = true,
            bool is_default = false, QObject* parent = nullptr)
      : QObject(parent), caption_(caption), enabled_(enabled), default_(is_default) {
    setObjectName(name);
  }

  const QString& Caption() const { return caption_; }
  bool IsSeparator() const { return caption_ == QStringLiteral("-"); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    emit EnabledChanged(enabled_);
  }
  bool IsDefault() const { return default_; }

  // The user chose the entry (views call this only for enabled entries).
  void Click() { emit Clicked(); }

 signals:
  void EnabledChanged(bool enabled);
  void Clicked();

 private:
  QString caption_;
  bool enabled_;
  bool default_;
};

}  // namespace voxmere
