// SPDX-License-Identifier: GPL-3.0-or-later
// The Voice slots page's handlers: deletion, clearing, the list's keys.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "fakes/fake_hot_key_registrar.h"
#include "fakes/fake_key_names.h"
#include "fakes/fake_message_boxes.h"
#include "slots/slots_page.h"

namespace voxmere {
namespace {

using Answer = MessageBoxes::Answer;
using Kind = MessageBoxes::Kind;

class SlotsPageTest : public ::testing::Test {
 protected:
  SlotsPageTest()
      : owner_(registrar_), store_(dir_.filePath("slots.ini"), owner_, key_names_, [](int) {}) {
    // Four slots A..D on Ctrl+F1..Ctrl+F4.
    const char* voices[] = {"A", "B", "C", "D"};
    for (int n = 0; n < 4; ++n) store_.SaveSlot(n, voices[n], 4, 0x4070 + n, 1, 2, 3);
  }

  QString Voices() const {
    QStringList voices;
    for (const VoiceSlot& slot : store_.Slots()) voices << slot.voice;
    return voices.join(',');
  }
  QStringList Texts() const {
    QStringList texts;
    for (const auto& box : messages_.Boxes()) texts << box.text;
    return texts;
  }

  QTemporaryDir dir_;
  FakeKeyNames key_names_;
  FakeHotKeyRegistrar registrar_;
  HotKeyOwner owner_;
  FakeMessageBoxes messages_;
  VoiceSlotStore store_;
  SlotsPage page_{store_, messages_};
  QSignalSpy focus_{&page_, &SlotsPage::ListFocusRequested};
};

TEST_F(SlotsPageTest, DeleteAsksForTheRowsAndMovesTheSelection) {
  struct Case {
    std::vector<int> selected;
    Answer answer;
    QString question;  // empty: nothing asked
    QString voices_after;
    std::vector<int> selected_after;
  } cases[] = {
      {{2}, Answer::kYes, "Are you sure to delete slot 3?", "A,B,D", {1}},
      {{0}, Answer::kYes, "Are you sure to delete slot 1?", "B,C,D", {}},
      {{3}, Answer::kNo, "Are you sure to delete slot 4?", "A,B,C,D", {3}},
      {{0, 2, 3}, Answer::kYes, "Are you sure to delete selected slots?", "B", {}},
      {{1, 3}, Answer::kNo, "Are you sure to delete selected slots?", "A,B,C,D", {1, 3}},
      {{}, Answer::kYes, "", "A,B,C,D", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question.toStdString());
    store_.RemoveAllSlots();
    for (int n = 0; n < 4; ++n) store_.SaveSlot(n, QString(QChar('A' + n)), 4, 0x4070 + n, 1, 2, 3);
    messages_.Clear();
    focus_.clear();
    page_.SetSelectedRows(c.selected);
    messages_.QueueAnswer(c.answer);
    page_.DeleteClicked();
    EXPECT_EQ(Texts(), c.question.isEmpty() ? QStringList() : QStringList{c.question});
    EXPECT_EQ(Voices(), c.voices_after);
    EXPECT_EQ(page_.SelectedRows(), c.selected_after);
    EXPECT_EQ(focus_.size(), 1);
  }
}

TEST_F(SlotsPageTest, DeletingRenumbersTheFileAndTheHotKeys) {
  page_.SetSelectedRows({3, 0, 2});  // the selection is kept sorted
  EXPECT_EQ(page_.SelectedRow(), 0);
  page_.DeleteClicked();
  ASSERT_EQ(Voices(), "B");
  QFile file(store_.Path());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.contains("[Slot_0]\r\nVoice=B")) << bytes.toStdString();
  EXPECT_FALSE(bytes.contains("[Slot_1]"));
  EXPECT_TRUE(registrar_.IsRegistered(HotKeyRegistrar::kModControl, 0x71));
  EXPECT_FALSE(registrar_.IsRegistered(HotKeyRegistrar::kModControl, 0x70));
}

TEST_F(SlotsPageTest, ClearAllAsksAWarningAndRemovesTheFile) {
  messages_.QueueAnswer(Answer::kNo);
  page_.ClearAllClicked();
  EXPECT_EQ(Voices(), "A,B,C,D");
  messages_.QueueAnswer(Answer::kYes);
  page_.ClearAllClicked();
  ASSERT_EQ(messages_.Boxes().size(), 2u);
  EXPECT_EQ(messages_.Boxes()[1].kind, Kind::kWarning);
  EXPECT_EQ(messages_.Boxes()[1].text, "Are you sure to delete all voice slots?");
  EXPECT_EQ(Voices(), "");
  EXPECT_FALSE(QFile::exists(store_.Path()));
  EXPECT_TRUE(registrar_.Registered().empty());
}

TEST_F(SlotsPageTest, EditNeedsASelectedRow) {
  QSignalSpy edits(&page_, &SlotsPage::EditRequested);
  page_.EditClicked();
  EXPECT_EQ(Texts(), QStringList{"Please, select voice slot to change."});
  EXPECT_EQ(messages_.Boxes()[0].kind, Kind::kInformation);
  EXPECT_TRUE(edits.isEmpty());
  page_.SetSelectedRows({2, 1});
  page_.EditClicked();
  ASSERT_EQ(edits.size(), 1);
  EXPECT_EQ(edits[0][0].toInt(), 1);
}

TEST_F(SlotsPageTest, ListKeys) {
  QSignalSpy adds(&page_, &SlotsPage::AddRequested);
  QSignalSpy edits(&page_, &SlotsPage::EditRequested);
  messages_.SetDefaultAnswer(Answer::kNo);
  page_.SetSelectedRows({1});
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool taken;
    QString question;
    int adds, edits;
  } cases[] = {
      {Qt::Key_Delete, Qt::NoModifier, true, "Are you sure to delete slot 2?", 0, 0},
      {Qt::Key_Delete, Qt::ControlModifier, true, "Are you sure to delete all voice slots?", 0, 0},
      {Qt::Key_Delete, Qt::ControlModifier | Qt::KeypadModifier, true,
       "Are you sure to delete all voice slots?", 0, 0},
      {Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier, true,
       "Are you sure to delete slot 2?", 0, 0},
      {Qt::Key_Delete, Qt::ControlModifier | Qt::AltModifier, true,
       "Are you sure to delete slot 2?", 0, 0},
      {Qt::Key_F2, Qt::NoModifier, true, "", 0, 1},
      {Qt::Key_Insert, Qt::NoModifier, true, "", 1, 0},
      {Qt::Key_Return, Qt::NoModifier, false, "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    messages_.Clear();
    adds.clear();
    edits.clear();
    EXPECT_EQ(page_.ListKeyPressed(c.key, c.modifiers), c.taken);
    EXPECT_EQ(Texts(), c.question.isEmpty() ? QStringList() : QStringList{c.question});
    EXPECT_EQ(adds.size(), c.adds);
    EXPECT_EQ(edits.size(), c.edits);
  }
}

}  // namespace
}  // namespace voxmere
