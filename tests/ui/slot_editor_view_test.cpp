// SPDX-License-Identifier: GPL-3.0-or-later
// The Voice slots page's widgets and the slot editor dialog.
#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "ui/slot_editor_view.h"
#include "ui_fixture.h"

namespace voxmere {
namespace {

constexpr ShortCut kCtrlF1 = 0x4070;
constexpr ShortCut kCtrlF2 = 0x4071;

TEST(SlotEditorView, AddOpensTheDialogWithEveryHotKeyOffAndEscCancels) {
  UiFixture ui;
  ui.Start();
  ui.Window().Slots().SaveSlot(0, "Mary", 4, kCtrlF1, 150, 100, 100);
  const QByteArray before = [&] {
    QFile file(ui.Window().SlotsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  const std::size_t registered = ui.fakes.hot_keys.Registered().size();
  ASSERT_GT(registered, 1u);
  ui.Window().pages.SetActivePageIndex(OptionsWindow::kVoiceSlots);

  auto* dialog = ui.view->findChild<SlotEditorView*>();
  ASSERT_NE(dialog, nullptr);
  bool seen = false;
  QTimer::singleShot(0, dialog, [&] {
    seen = true;
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Add voice slot");
    EXPECT_EQ(dialog->findChild<QPushButton*>("Action_Button")->text(), "Add slot");
    EXPECT_TRUE(ui.fakes.hot_keys.Registered().empty());
    // Esc in the hot key field closes the dialog rather than being recorded.
    auto* field = dialog->findChild<QLineEdit*>("Slot_HotKey");
    ASSERT_NE(field, nullptr);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
  });
  QTest::mouseClick(ui.Find<QPushButton>("BitBtn4"), Qt::LeftButton);
  EXPECT_TRUE(seen);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ui.fakes.hot_keys.Registered().size(), registered);
  QFile file(ui.Window().SlotsPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
}

TEST(SlotEditorView, ListKeysAndEditButton) {
  UiFixture ui;
  ui.Start();
  ui.Window().Slots().SaveSlot(0, "Mary", 4, kCtrlF1, 150, 100, 100);
  ui.Window().Slots().SaveSlot(1, "Mike", 4, kCtrlF2, 150, 100, 100);
  ui.Window().pages.SetActivePageIndex(OptionsWindow::kVoiceSlots);
  auto* list = ui.Find<QTableView>("SlotsList");
  ASSERT_NE(list, nullptr);

  // Edit with nothing selected only says so.
  QTest::mouseClick(ui.Find<QPushButton>("BitBtn5"), Qt::LeftButton);
  ASSERT_EQ(ui.fakes.messages.Boxes().size(), 1u);
  EXPECT_EQ(ui.fakes.messages.Boxes()[0].text, "Please, select voice slot to change.");

  // The widget's selection reaches the page; Del deletes and selects the row
  // above.
  list->selectRow(1);
  EXPECT_EQ(ui.Window().VoiceSlotsPage().SelectedRow(), 1);
  ui.fakes.messages.Clear();
  QTest::keyClick(list, Qt::Key_Delete);
  ASSERT_EQ(ui.fakes.messages.Boxes().size(), 1u);
  EXPECT_EQ(ui.fakes.messages.Boxes()[0].text, "Are you sure to delete slot 2?");
  EXPECT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
  EXPECT_TRUE(list->selectionModel()->isRowSelected(0, QModelIndex()));
}

}  // namespace
}  // namespace voxmere
