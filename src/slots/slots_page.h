// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

#include "slots/voice_slot_store.h"

namespace voxmere {

// The list SlotsList of the "Voice slots" page: one row per slot in slot
// order; columns "Voice", "Speed", "Pitch", "Volume", "Hot key" with the
// stored texts unchanged. Follows the store's SlotsChanged.
class SlotsListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit SlotsListModel(const VoiceSlotStore& store, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  // Display texts; Qt::TextAlignmentRole: left for "Voice", centred else.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  // The designed column widths in pixels: 115, 55, 55, 55, 84.
  static int ColumnWidth(int column);

 private:
  const VoiceSlotStore& store_;
};

}  // namespace voxmere
