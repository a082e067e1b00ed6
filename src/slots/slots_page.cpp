// SPDX-License-Identifier: GPL-3.0-or-later
#include "slots/slots_page.h"

#include <algorithm>
#include <array>

#include "platform/exception.h"
#include "settings/settings_log.h"

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

SlotsPage::SlotsPage(VoiceSlotStore& store, MessageBoxes& messages, QObject* parent)
    : QObject(parent), store_(store), messages_(messages) {
  setObjectName(QStringLiteral("VoiceSlots_Page"));
  // A rebuild keeps no selection of rows that are gone.
  connect(&store_, &VoiceSlotStore::SlotsChanged, this,
          [this] { SetSelectedRows(selected_rows_); });
}

void SlotsPage::SetSelectedRows(std::vector<int> rows) {
  const int count = static_cast<int>(store_.Slots().size());
  std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows == selected_rows_) return;
  selected_rows_ = std::move(rows);
  emit SelectionChanged();
}

void SlotsPage::AddClicked() { emit AddRequested(); }

void SlotsPage::EditClicked() {
  if (SelectedRow() < 0) {
    messages_.Information(QStringLiteral("Please, select voice slot to change."), this);
    return;
  }
  emit EditRequested(SelectedRow());
}

void SlotsPage::DeleteClicked() {
  const std::vector<int> rows = selected_rows_;
  if (rows.size() == 1) {
    const int row = rows.front();
    if (messages_.Confirm(QStringLiteral("Are you sure to delete slot %1?").arg(row + 1), this)) {
      store_.DeleteVoiceSlot(row);
      store_.LoadVoiceSlots();
      SetSelectedRows(row > 0 ? std::vector<int>{row - 1} : std::vector<int>{});
    }
  } else if (rows.size() >= 2) {
    if (messages_.Confirm(QStringLiteral("Are you sure to delete selected slots?"), this)) {
      for (auto row = rows.rbegin(); row != rows.rend(); ++row) store_.DeleteVoiceSlot(*row);
      store_.LoadVoiceSlots();
      SetSelectedRows({});
    }
  }
  emit ListFocusRequested();
}

void SlotsPage::ClearAllClicked() {
  if (!messages_.WarningYesNo(QStringLiteral("Are you sure to delete all voice slots?"), this)) {
    return;
  }
  try {
    store_.RemoveAllSlots();
  } catch (const Exception& error) {
    qCWarning(SettingsLog, "Clearing the voice slots failed: %s", qUtf8Printable(error.Message()));
    messages_.Plain(QStringLiteral("Can't delete voice slots."), this);
  }
}

bool SlotsPage::ListKeyPressed(int key, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
  switch (key) {
    case Qt::Key_Delete:
      if (held == Qt::ControlModifier) {
        ClearAllClicked();
      } else {
        DeleteClicked();
      }
      return true;
    case Qt::Key_F2:
      EditClicked();
      return true;
    case Qt::Key_Insert:
      AddClicked();
      return true;
    default:
      return false;
  }
}

}  // namespace voxmere
