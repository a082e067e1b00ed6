// SPDX-License-Identifier: GPL-3.0-or-later
#include "pronunciation/pronunciation_page.h"

#include <array>

#include "pronunciation/words_file.h"

namespace voxmere {
namespace {

enum WordsColumn { kWordColumn, kPronunciationColumn, kCaseColumn, kWordsColumnCount };

// The nine blanks put the caption "Word" over the words, which the Windows
// list view indents.
const std::array<QString, kWordsColumnCount>& WordsCaptions() {
  static const std::array<QString, kWordsColumnCount> captions = {QStringLiteral("         Word"),
                                                                  QStringLiteral("Pronunciation"),
                                                                  QStringLiteral("Case sensitive")};
  return captions;
}

QVariant WordsAlignment(int column) {
  const Qt::Alignment horizontal = column == kWordColumn ? Qt::AlignLeft : Qt::AlignHCenter;
  return QVariant::fromValue(static_cast<int>(horizontal | Qt::AlignVCenter));
}

}  // namespace

WordsTableModel::WordsTableModel(PronunciationTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

int WordsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.size());
}

int WordsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kWordsColumnCount;
}

QVariant WordsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= table_.size() || index.column() >= kWordsColumnCount) {
    return {};
  }
  if (role == Qt::TextAlignmentRole) return WordsAlignment(index.column());
  if (role != Qt::DisplayRole) return {};
  const PronunciationEntry& entry = table_.at(index.row());
  switch (index.column()) {
    case kWordColumn:
      return entry.word;
    case kPronunciationColumn:
      return entry.pronunciation;
    default:
      return entry.case_sensitive;
  }
}

QVariant WordsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kWordsColumnCount) return {};
  if (role == Qt::DisplayRole) return WordsCaptions()[section];
  if (role == Qt::TextAlignmentRole) return WordsAlignment(section);
  return {};
}

void WordsTableModel::Refresh() {
  beginResetModel();
  endResetModel();
  SelectRow(-1);
}

void WordsTableModel::Append(const PronunciationEntry& entry) {
  const int row = static_cast<int>(table_.size());
  beginInsertRows(QModelIndex(), row, row);
  table_.append(entry);
  endInsertRows();
}

void WordsTableModel::Replace(int row, const PronunciationEntry& entry) {
  table_[row] = entry;
  emit dataChanged(index(row, 0), index(row, kWordsColumnCount - 1));
}

void WordsTableModel::Remove(int row) {
  // Taken first: a view may report its own selection while the row goes.
  const int selected = selected_row_;
  beginRemoveRows(QModelIndex(), row, row);
  table_.removeAt(row);
  endRemoveRows();
  SelectRow(selected == row ? -1 : (selected > row ? selected - 1 : selected));
}

void WordsTableModel::SelectRow(int row) {
  if (row < 0 || row >= table_.size()) row = -1;
  if (row == selected_row_) return;
  selected_row_ = row;
  emit SelectedRowChanged(row);
}

const QString& PronunciationPage::DefaultIgnoredCharacters() {
  static const QString characters = QStringLiteral("*\\/\"`_~");
  return characters;
}

PronunciationPage::PronunciationPage(QObject* parent) : QObject(parent) {
  ignored_characters.SetHint(QStringLiteral("This characters will be ignored when reading"));
}

void PronunciationPage::RestoreWords(const QString& path) {
  ::voxmere::RestoreWords(path, table_, &encoding_);
  words_table_.Refresh();
}

void PronunciationPage::SaveWords(const QString& path) const {
  ::voxmere::SaveWords(path, table_, encoding_);
}

}  // namespace voxmere
