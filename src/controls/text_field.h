// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace voxmere {

// A one-line text box of a window. `max_length` 0 means no limit; it limits
// what the user types, not what the program sets.
class TextField : public QObject {
  Q_OBJECT

 public:
  TextField(const QString& name, const QString& text = QString(), int max_length = 0,
            bool read_only = false, QObject* parent = nullptr)
      : QObject(parent), text_(text), max_length_(max_length), read_only_(read_only) {
    setObjectName(name);
  }

  const QString& Text() const { return text_; }
  void SetText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    emit TextChanged(text_);
  }
  int MaxLength() const { return max_length_; }
  bool ReadOnly() const { return read_only_; }
  const QString& Hint() const { return hint_; }
  void SetHint(const QString& hint) { hint_ = hint; }

 signals:
  void TextChanged(const QString& text);

 private:
  QString text_;
  int max_length_;
  bool read_only_;
  QString hint_;
};

}  // namespace voxmere
