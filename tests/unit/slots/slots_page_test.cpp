// SPDX-License-Identifier: GPL-3.0-or-later
#include "slots/slots_page.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "fakes/fake_hot_key_registrar.h"
#include "fakes/fake_key_names.h"

namespace voxmere {
namespace {

class SlotsListModelTest : public ::testing::Test {
 protected:
  SlotsListModelTest()
      : owner_(registrar_), store_(dir_.filePath("slots.ini"), owner_, key_names_, [](int) {}) {}

  void WriteFile(const QByteArray& bytes) {
    QFile file(store_.Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QString Cell(int row, int column) const {
    return model_.data(model_.index(row, column)).toString();
  }
  int Alignment(int column) const {
    return model_.data(model_.index(0, column), Qt::TextAlignmentRole).toInt() &
           Qt::AlignHorizontal_Mask;
  }

  QTemporaryDir dir_;
  FakeKeyNames key_names_;
  FakeHotKeyRegistrar registrar_;
  HotKeyOwner owner_;
  VoiceSlotStore store_;
  SlotsListModel model_{store_};
};

TEST_F(SlotsListModelTest, ColumnsAsDesigned) {
  const char* captions[] = {"Voice", "Speed", "Pitch", "Volume", "Hot key"};
  const int widths[] = {115, 55, 55, 55, 84};
  ASSERT_EQ(model_.columnCount(), 5);
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(model_.headerData(column, Qt::Horizontal).toString(), captions[column]);
    EXPECT_EQ(SlotsListModel::ColumnWidth(column), widths[column]);
  }
  EXPECT_FALSE(model_.headerData(5, Qt::Horizontal).isValid());
  EXPECT_EQ(SlotsListModel::ColumnWidth(5), 0);
  EXPECT_EQ(SlotsListModel::ColumnWidth(-1), 0);
  EXPECT_EQ(model_.rowCount(), 0);
}

TEST_F(SlotsListModelTest, RowsFollowTheStoreWithTheStoredTexts) {
  QSignalSpy resets(&model_, &QAbstractItemModel::modelReset);
  // A value that is no number is shown as it stands.
  WriteFile(
      "[Slot_0]\r\nVoice=Alpha\r\nHotKey=49217\r\nSpeed=150\r\nPitch=105\r\nVolume=100\r\n"
      "SAPIVersion=5\r\n[Slot_1]\r\nVoice=Bravo\r\nHotKey=0\r\nSpeed=fast\r\nPitch=0120\r\n"
      "Volume=80\r\nSAPIVersion=4\r\n");
  store_.LoadVoiceSlots();
  EXPECT_GE(resets.size(), 1);
  ASSERT_EQ(model_.rowCount(), 2);
  EXPECT_EQ(Cell(0, 0), "Alpha");
  EXPECT_EQ(Cell(0, 1), "150");
  EXPECT_EQ(Cell(0, 2), "105");
  EXPECT_EQ(Cell(0, 3), "100");
  EXPECT_EQ(Cell(0, 4), "Ctrl+Alt+A");
  EXPECT_EQ(Cell(1, 1), "fast");
  EXPECT_EQ(Cell(1, 2), "0120");
  EXPECT_EQ(Cell(1, 4), "");
  EXPECT_FALSE(model_.data(model_.index(2, 0)).isValid());
  EXPECT_FALSE(model_.data(model_.index(0, 0), Qt::EditRole).isValid());

  EXPECT_EQ(Alignment(0), Qt::AlignLeft);
  for (int column = 1; column < 5; ++column) EXPECT_EQ(Alignment(column), Qt::AlignHCenter);

  // Changes through the store show at once.
  store_.SaveSlot(2, "Charlie (SAPI5)", 5, 0, 30, 330, 5);
  ASSERT_EQ(model_.rowCount(), 3);
  EXPECT_EQ(Cell(2, 0), "Charlie");
  EXPECT_EQ(Cell(2, 2), "330");
  store_.RemoveAllSlots();
  EXPECT_EQ(model_.rowCount(), 0);
}

}  // namespace
}  // namespace voxmere
