// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace voxmere {

// The voice catalogue as the Default voice page's list holds it: display
// names only, and the selected position (-1 for none).
class VoicesList : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit VoicesList(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  const QStringList& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Empties the list; nothing is selected afterwards.
  void Clear();
  void Add(const QString& name);
  // Appends several names in one step.
  void AddStrings(const QStringList& names);

  int ItemIndex() const { return item_index_; }
  // Selects a position as the program does: no change notification. A
  // position outside the list selects nothing.
  void SetItemIndex(int index);
  // A choice of the user in the view: selects it and, when it differs from
  // the selected position, reports the change.
  void UserSelect(int index);
  // Reports a selection change directly, as the program does after setting
  // ItemIndex itself.
  void NotifyChange(int previous, int current) { emit Change(previous, current); }

 signals:
  // The selection-change notification the page handles.
  void Change(int previous, int current);
  // Any change of ItemIndex, for views to follow.
  void ItemIndexChanged(int index);

 private:
  QStringList items_;
  int item_index_ = -1;
};

}  // namespace voxmere
