// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/word_editor_view.h"
#include "ui_fixture.h"

namespace voxmere {
namespace {

// Runs `user` inside the dialog's modal loop once `button` opened it; the
// dialog is closed afterwards in any case, so a failing check cannot hang.
void WhileOpen(WordEditorView* dialog, QPushButton* button, const std::function<void()>& user) {
  QTimer::singleShot(0, dialog, [dialog, user] {
    EXPECT_TRUE(dialog->isVisible());
    user();
    if (dialog->isVisible()) dialog->done(QDialog::Rejected);
  });
  button->click();
}

TEST(WordEditorView, AddsAWordThroughTheDialogAndShowsItInTheTable) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  auto* dialog = ui.view->findChild<WordEditorView*>("frmWord");
  ASSERT_NE(dialog, nullptr);
  auto* table = ui.Find<QTableView>("Words_Table");
  auto* word = dialog->findChild<QLineEdit*>("Edit1");
  auto* pronunciation = dialog->findChild<QLineEdit*>("Edit2");
  auto* action = dialog->findChild<QPushButton*>("Action_Button");

  WhileOpen(dialog, ui.Find<QPushButton>("BitBtn8"), [&] {
    EXPECT_EQ(dialog->windowTitle(), "Pronunciation correction");
    EXPECT_EQ(action->text(), "Add word");
    EXPECT_EQ(dialog->focusWidget(), word);
    QTest::keyClicks(word, "SQL");
    QTest::keyClicks(pronunciation, "sequel");
    dialog->findChild<QCheckBox*>("CheckBox1")->click();
    action->click();
  });
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_EQ(table->model()->rowCount(), 1);
  EXPECT_EQ(table->model()->index(0, 1).data().toString(), "sequel");
  EXPECT_EQ(table->model()->index(0, 2).data().toString(), "Yes");
  EXPECT_TRUE(table->selectionModel()->isRowSelected(0, QModelIndex()));
  QFile file(window.WordsPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "SQL###***###sequel###***###Yes\r\n");

  // Edit: the row's texts; F1 asks for help; Esc cancels.
  WhileOpen(dialog, ui.Find<QPushButton>("BitBtn9"), [&] {
    EXPECT_EQ(action->text(), "Save changes");
    EXPECT_EQ(word->text(), "SQL");
    QTest::keyClick(word, Qt::Key_F1);
    QTest::keyClick(word, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
  });
  ASSERT_EQ(ui.fakes.help.topics.size(), 1u);
  EXPECT_EQ(ui.fakes.help.topics[0], HelpTopic::kPronunciation);
  EXPECT_EQ(window.pronunciation.Table().at(0).word, "SQL");
}

TEST(WordEditorView, TableSelectionAndCaseColumnFollowTheModel) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  WordsTableModel& model = window.pronunciation.WordsTable();
  auto* table = ui.Find<QTableView>("Words_Table");
  for (int i = 0; i < 7; ++i) model.Append({QString::number(i), "x", "No"});
  EXPECT_EQ(table->columnWidth(2), 96);
  model.Append({"eighth", "x", "No"});
  EXPECT_EQ(table->columnWidth(2), 80);
  model.Remove(7);
  EXPECT_EQ(table->columnWidth(2), 96);

  model.SelectRow(3);
  EXPECT_TRUE(table->selectionModel()->isRowSelected(3, QModelIndex()));
  table->selectRow(5);  // as the user
  EXPECT_EQ(model.SelectedRow(), 5);
  model.Remove(2);  // the selection moves up with its row
  EXPECT_EQ(model.SelectedRow(), 4);
  EXPECT_TRUE(table->selectionModel()->isRowSelected(4, QModelIndex()));
  model.Remove(4);
  EXPECT_EQ(model.SelectedRow(), -1);
  model.SelectRow(-1);
  EXPECT_FALSE(table->selectionModel()->hasSelection());
}

}  // namespace
}  // namespace voxmere
