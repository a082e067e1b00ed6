// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QObject>

#include "controls/check_box.h"
#include "controls/text_field.h"
#include "pronunciation/pronunciation_entry.h"
#include "settings/settings_text.h"

namespace voxmere {

// The table WordsTable: one row per correction in table order; columns
// "         Word", "Pronunciation", "Case sensitive" with the texts unchanged.
class WordsTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit WordsTableModel(PronunciationTable& table, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The table was replaced or changed as a whole: views show it afresh, with
  // no row selected.
  void Refresh();
  // Changes of one entry that views show at once. A removal moves the
  // selection with the rows; the removed row's selection is gone.
  void Append(const PronunciationEntry& entry);
  void Replace(int row, const PronunciationEntry& entry);
  void Remove(int row);

  // The selected row (one at most), -1 for none.
  int SelectedRow() const { return selected_row_; }
  // By the program or the user alike; a row outside the table selects none.
  void SelectRow(int row);
  // Gives the table the keyboard focus (views follow).
  void RequestFocus() { emit FocusRequested(); }

 signals:
  void SelectedRowChanged(int row);
  void FocusRequested();

 private:
  PronunciationTable& table_;
  int selected_row_ = -1;
};

// The "Pronunciation" page: the two text-preparation options, the characters
// to skip and the corrections table. Readings read them as they stand.
class PronunciationPage : public QObject {
  Q_OBJECT

 public:
  static const QString& DefaultIgnoredCharacters();  // * \ / " ` _ ~

  explicit PronunciationPage(QObject* parent = nullptr);

  CheckBox ignore_characters{QStringLiteral("IgnoreCharacters_CheckBox"),
                             QStringLiteral("I&gnore characters")};
  TextField ignored_characters{QStringLiteral("Ignored_Characters"), DefaultIgnoredCharacters()};
  CheckBox use_corrections{QStringLiteral("WordsCorr_CheckBox"),
                           QStringLiteral("&Pronunciation corrections:")};

  // The pronunciation table the options window owns for the whole run.
  PronunciationTable& Table() { return table_; }
  const PronunciationTable& Table() const { return table_; }
  WordsTableModel& WordsTable() { return words_table_; }

  // words.ini into the table (a missing file leaves it as it is), and the
  // table back; the file's encoding is kept between the two.
  void RestoreWords(const QString& path);
  void SaveWords(const QString& path) const;

 private:
  PronunciationTable table_;
  WordsTableModel words_table_{table_};
  TextEncoding encoding_ = TextEncoding::kUtf8;
};

}  // namespace voxmere
