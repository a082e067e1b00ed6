// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voices_list.h"

namespace voxmere {

VoicesList::VoicesList(QObject* parent) : QAbstractListModel(parent) {}

int VoicesList::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

QVariant VoicesList::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  return items_.at(index.row());
}

void VoicesList::Clear() {
  beginResetModel();
  items_.clear();
  endResetModel();
  SetItemIndex(-1);
}

void VoicesList::Add(const QString& name) { AddStrings(QStringList{name}); }

void VoicesList::AddStrings(const QStringList& names) {
  if (names.isEmpty()) return;
  beginInsertRows(QModelIndex(), Count(), Count() + static_cast<int>(names.size()) - 1);
  items_.append(names);
  endInsertRows();
}

void VoicesList::SetItemIndex(int index) {
  if (index < 0 || index >= Count()) index = -1;
  if (index == item_index_) return;
  item_index_ = index;
  emit ItemIndexChanged(index);
}

void VoicesList::UserSelect(int index) {
  const int previous = item_index_;
  SetItemIndex(index);
  if (item_index_ != previous) emit Change(previous, item_index_);
}

}  // namespace voxmere
