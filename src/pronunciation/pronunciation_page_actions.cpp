// SPDX-License-Identifier: GPL-3.0-or-later
#include "pronunciation/pronunciation_page_actions.h"

#include <QFile>
#include <utility>

#include "pronunciation/pronunciation_log.h"

namespace voxmere {

PronunciationPageActions::PronunciationPageActions(PronunciationPage& page, WordEditor& editor,
                                                   QString words_path, MessageBoxes& messages,
                                                   DefaultVoiceSpeech speak, QObject* parent)
    : QObject(parent),
      page_(page),
      editor_(editor),
      words_path_(std::move(words_path)),
      messages_(messages),
      speak_(std::move(speak)) {}

void PronunciationPageActions::AddClicked() {
  editor_.OpenToAdd();
  WordsTableModel& table = page_.WordsTable();
  table.SelectRow(table.rowCount() - 1);
  table.RequestFocus();
}

void PronunciationPageActions::EditClicked() {
  WordsTableModel& table = page_.WordsTable();
  if (table.rowCount() == 0) {
    table.RequestFocus();
    return;
  }
  int row = table.SelectedRow();
  if (row < 0) {
    row = 0;
    table.SelectRow(row);
  }
  editor_.OpenToEdit(row);
  table.SelectRow(row);
  table.RequestFocus();
}

void PronunciationPageActions::DeleteClicked() {
  WordsTableModel& table = page_.WordsTable();
  const int row = table.SelectedRow();
  if (row < 0) return;
  const QString question =
      QStringLiteral("Are you sure to delete pronunciation correction for word \"") +
      page_.Table().at(row).word + QStringLiteral("\"?");
  if (messages_.Confirm(question)) {
    table.Remove(row);
    page_.SaveWords(words_path_);
  }
  if (row > 0) table.SelectRow(row - 1);
  // An empty list leaves no file behind; the next settings save writes an
  // empty one again.
  if (page_.Table().isEmpty() && QFile::exists(words_path_) && !QFile::remove(words_path_)) {
    qCWarning(PronunciationLog, "Could not delete %s", qUtf8Printable(words_path_));
  }
}

void PronunciationPageActions::TestClicked() {
  const int row = page_.WordsTable().SelectedRow();
  if (row < 0) return;
  speak_(page_.Table().at(row).pronunciation);
}

}  // namespace voxmere
