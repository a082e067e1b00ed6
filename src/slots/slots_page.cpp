// SPDX-License-Identifier: GPL-3.0-or-later
#include "slots/slots_page.h"

#include <array>

namespace voxmere {
namespace {

enum SlotsColumn {
  kVoiceColumn,
  kSpeedColumn,
  kPitchColumn,
  kVolumeColumn,
  kHotKeyColumn,
  kSlotsColumnCount
};

struct SlotsColumnLook {
  QString caption;
  int width;
};

const std::array<SlotsColumnLook, kSlotsColumnCount>& SlotsColumns() {
  static const std::array<SlotsColumnLook, kSlotsColumnCount> columns = {{
      {QStringLiteral("Voice"), 115},
      {QStringLiteral("Speed"), 55},
      {QStringLiteral("Pitch"), 55},
      {QStringLiteral("Volume"), 55},
      {QStringLiteral("Hot key"), 84},
  }};
  return columns;
}

QVariant SlotsAlignment(int column) {
  const Qt::Alignment horizontal = column == kVoiceColumn ? Qt::AlignLeft : Qt::AlignHCenter;
  return QVariant::fromValue(static_cast<int>(horizontal | Qt::AlignVCenter));
}

}  // namespace

SlotsListModel::SlotsListModel(const VoiceSlotStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {
  // The store rebuilds its table as a whole; the rows follow it.
  connect(&store_, &VoiceSlotStore::SlotsChanged, this, [this] {
    beginResetModel();
    endResetModel();
  });
}

int SlotsListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(store_.Slots().size());
}

int SlotsListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kSlotsColumnCount;
}

QVariant SlotsListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kSlotsColumnCount) {
    return {};
  }
  if (role == Qt::TextAlignmentRole) return SlotsAlignment(index.column());
  if (role != Qt::DisplayRole) return {};
  const VoiceSlot& slot = store_.Slots()[static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case kVoiceColumn:
      return slot.voice;
    case kSpeedColumn:
      return slot.speed;
    case kPitchColumn:
      return slot.pitch;
    case kVolumeColumn:
      return slot.volume;
    default:
      return slot.hot_key_text;
  }
}

QVariant SlotsListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kSlotsColumnCount) return {};
  if (role == Qt::DisplayRole) return SlotsColumns()[section].caption;
  if (role == Qt::TextAlignmentRole) return SlotsAlignment(section);
  return {};
}

int SlotsListModel::ColumnWidth(int column) {
  if (column < 0 || column >= kSlotsColumnCount) return 0;
  return SlotsColumns()[column].width;
}

}  // namespace voxmere
