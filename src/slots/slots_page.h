// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QObject>
#include <vector>

#include "platform/message_boxes.h"
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

// The "Voice slots" page's behaviour: the list's selection and the handlers
// of its buttons, keys and double click. The editor is opened through the
// two signals; deletions go to the store.
class SlotsPage : public QObject {
  Q_OBJECT

 public:
  SlotsPage(VoiceSlotStore& store, MessageBoxes& messages, QObject* parent = nullptr);

  // The list's selected rows in ascending order.
  const std::vector<int>& SelectedRows() const { return selected_rows_; }
  // The selected row: the first selected one, or -1 when none is.
  int SelectedRow() const { return selected_rows_.empty() ? -1 : selected_rows_.front(); }
  // Rows outside the table are dropped; the rest is sorted.
  void SetSelectedRows(std::vector<int> rows);

  void AddClicked();   // "&Add", Ins
  void EditClicked();  // "&Edit", F2, double click
  void DeleteClicked();
  void ClearAllClicked();
  // A key pressed in the list (a Qt::Key and the modifiers); true when it was
  // one of the list's keys.
  bool ListKeyPressed(int key, Qt::KeyboardModifiers modifiers);
  // Makes the list the window's active control (after the slot editor).
  void RequestListFocus() { emit ListFocusRequested(); }

 signals:
  void SelectionChanged();
  // The list becomes the window's active control.
  void ListFocusRequested();
  void AddRequested();
  void EditRequested(int row);

 private:
  VoiceSlotStore& store_;
  MessageBoxes& messages_;
  std::vector<int> selected_rows_;
};

}  // namespace voxmere
