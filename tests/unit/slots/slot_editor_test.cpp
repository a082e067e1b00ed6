// SPDX-License-Identifier: GPL-3.0-or-later
#include "slots/slot_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "fakes/fake_desktop_services.h"
#include "fakes/fake_hot_key_registrar.h"
#include "fakes/fake_key_names.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_speech_voice.h"
#include "fakes/fake_tts_engine.h"
#include "platform/exception.h"
#include "speech/voice_catalogue.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;

constexpr ShortCut kCtrlF1 = 0x4070;
constexpr ShortCut kCtrlF2 = 0x4071;
constexpr ShortCut kCtrlF5 = 0x4074;
constexpr ShortCut kCtrlF6 = 0x4075;
constexpr ShortCut kCtrlF7 = 0x4076;
constexpr ShortCut kCtrlF8 = 0x4077;

// The catalogue: 0 "Mary" (speed 50..250 at 150, pitch 60..240 at 120,
// volume 50 %), 1 "Mike" (speed 80..450 at 175, pitch 50..200 at 100),
// 2 "Anna (SAPI5)", 3 "Zira (SAPI5)". Reading, stop and options hot keys on
// Ctrl+F5, Ctrl+F6, Ctrl+F7.
class SlotEditorTest : public ::testing::Test {
 protected:
  SlotEditorTest() : factory_(log_), connector_(log_), owner_(registrar_) {
    AddMaryInBooth(factory_);
    factory_.AddMode("Mike", "Mike");
    connector_.Instance()->SetVoices({"Anna", "Zira"});
    sapi4_ = std::make_unique<Sapi4Voice>(factory_);
    sapi5_ = std::make_unique<Sapi5Voice>(connector_);
    LoadVoicesList(*sapi4_, *sapi5_, true, catalogue_);
    const ShortCut codes[] = {kCtrlF5, kCtrlF6, kCtrlF7};
    GlobalHotKey* keys[] = {&reading_, &stop_, &options_};
    for (int n = 0; n < 3; ++n) {
      keys[n]->SetHotKey(codes[n]);
      keys[n]->SetActive(true);
    }
    editor_ = std::make_unique<SlotEditor>(SlotEditor::Parts{*sapi4_, *sapi5_, catalogue_, store_,
                                                             page_, messages_, help_, key_names_,
                                                             reading_, stop_, options_});
    log_->Clear();
  }
  ~SlotEditorTest() override { editor_.reset(); }

  static std::string Bar(const TrackBar& bar, const TextField& box) {
    return std::to_string(bar.Min()) + ".." + std::to_string(bar.Max()) + " at " +
           std::to_string(bar.Position()) + " shows " + box.Text().toStdString();
  }
  std::string Bars() const {
    return Bar(editor_->speed_bar, editor_->speed_box) + ", " +
           Bar(editor_->pitch_bar, editor_->pitch_box) + ", " +
           Bar(editor_->volume_bar, editor_->volume_box);
  }
  QStringList Texts() const {
    QStringList texts;
    for (const auto& box : messages_.Boxes()) texts << box.text;
    return texts;
  }

  std::shared_ptr<FakeCallLog> log_ = std::make_shared<FakeCallLog>();
  FakeTtsObjectFactory factory_;
  FakeSpeechVoiceConnector connector_;
  std::unique_ptr<Sapi4Voice> sapi4_;
  std::unique_ptr<Sapi5Voice> sapi5_;
  VoicesList catalogue_;
  QTemporaryDir dir_;
  FakeKeyNames key_names_;
  FakeHotKeyRegistrar registrar_;
  HotKeyOwner owner_;
  GlobalHotKey reading_{owner_, "DefaultHotKey"};
  GlobalHotKey stop_{owner_, "StopHotKey"};
  GlobalHotKey options_{owner_, "OptionsHotKey"};
  VoiceSlotStore store_{dir_.filePath("slots.ini"), owner_, key_names_, [](int) {}};
  FakeMessageBoxes messages_;
  FakeHelpViewer help_;
  SlotsPage page_{store_, messages_};
  std::unique_ptr<SlotEditor> editor_;
};

TEST_F(SlotEditorTest, VoiceChoiceRule) {
  struct Case {
    const char* name;
    bool row_selected;  // slot 0 selected on the page
    const char* speed;  // slot 0's stored texts
    const char* pitch;
    const char* volume;
    int entry;
    std::string bars;
  } cases[] = {
      {"SAPI 5, no row", false, "170", "120", "0", 2,
       "-10..10 at -2 shows 150, -10..10 at -5 shows 105, 0..100 at 100 shows 100"},
      // 170 / 15 is nearest to 11, 120 / 15 is 8; volume 0 becomes 100.
      {"SAPI 5, row", true, "170", "120", "0", 3,
       "-10..10 at -1 shows 170, -10..10 at -4 shows 120, 0..100 at 100 shows 100"},
      {"SAPI 4, no row", false, "170", "120", "0", 0,
       "50..250 at 150 shows 150, 60..240 at 120 shows 120, 0..100 at 50 shows 50"},
      {"SAPI 4, row", true, "170", "120", "0", 1,
       "80..450 at 170 shows 170, 50..200 at 120 shows 120, 0..100 at 100 shows 100"},
      // Stored numbers outside the engine's ranges go to the nearest end.
      {"SAPI 4, row out of range", true, "330", "30", "80", 1,
       "80..450 at 330 shows 330, 50..200 at 50 shows 50, 0..100 at 80 shows 80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store_.RemoveAllSlots();
    store_.SaveSlot(0, "Mike", 4, kCtrlF1, QString(c.speed).toInt(), QString(c.pitch).toInt(),
                    QString(c.volume).toInt());
    page_.SetSelectedRows(c.row_selected ? std::vector<int>{0} : std::vector<int>{});
    editor_->OpenForAdding();
    editor_->voices_list.UserSelect(c.entry);
    EXPECT_EQ(Bars(), c.bars);
    EXPECT_EQ(editor_->Sapi5Scale(), c.entry >= 2);
  }
  // Moving the SAPI 5 speed bar to its ends shows 330 and 30.
  editor_->voices_list.UserSelect(2);
  editor_->speed_bar.SetPosition(10);
  EXPECT_EQ(editor_->speed_box.Text(), "330");
  editor_->speed_bar.SetPosition(-10);
  EXPECT_EQ(editor_->speed_box.Text(), "30");
}

TEST_F(SlotEditorTest, OpeningSetsCaptionsListAndHotKey) {
  QSignalSpy opens(editor_.get(), &SlotEditor::OpenRequested);
  editor_->OpenForAdding();
  EXPECT_EQ(editor_->Caption(), "Add voice slot");
  EXPECT_EQ(editor_->ActionCaption(), "Add slot");
  EXPECT_EQ(editor_->voices_list.Items(), catalogue_.Items());
  EXPECT_EQ(editor_->voices_list.ItemIndex(), 0);
  EXPECT_EQ(editor_->hot_key_field.Shortcut(), 0);

  store_.SaveSlot(0, "zira (SAPI5)", 5, kCtrlF1, 150, 105, 100);
  editor_->OpenForEditing(0);
  EXPECT_EQ(editor_->Caption(), "Edit voice slot");
  EXPECT_EQ(editor_->ActionCaption(), "Save changes");
  EXPECT_EQ(editor_->voices_list.ItemIndex(), 3);
  EXPECT_EQ(editor_->hot_key_field.Shortcut(), kCtrlF1);
  EXPECT_EQ(opens.size(), 2);

  // A stored number that is no integer fails before the dialog shows.
  store_.SaveSlot(0, "Mike", 4, kCtrlF1, 150, 105, 100);
  QFile file(store_.Path());
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  QByteArray bytes = file.readAll().replace("Speed=150", "Speed=fast");
  file.resize(0);
  file.write(bytes);
  file.close();
  store_.LoadVoiceSlots();
  EXPECT_THROW(editor_->OpenForEditing(0), Exception);
  EXPECT_EQ(opens.size(), 2);
}

TEST_F(SlotEditorTest, EditedSapi4SlotSavedWithASapi5Voice) {
  store_.SaveSlot(0, "Mike", 4, kCtrlF1, 170, 120, 90);
  QSignalSpy closes(editor_.get(), &SlotEditor::CloseRequested);
  editor_->OpenForEditing(0);
  editor_->voices_list.UserSelect(2);
  EXPECT_EQ(editor_->speed_bar.Position(), -1);
  editor_->ActionClicked();
  EXPECT_TRUE(messages_.Boxes().empty());
  EXPECT_EQ(closes.size(), 1);
  ASSERT_EQ(store_.Slots().size(), 1u);
  const VoiceSlot& saved = store_.Slots()[0];
  EXPECT_EQ(saved.voice, "Anna");
  EXPECT_EQ(saved.sapi_version, 5);
  EXPECT_EQ(saved.speed, "170");
  EXPECT_EQ(saved.pitch, "120");
  EXPECT_EQ(saved.volume, "90");
}

TEST_F(SlotEditorTest, SaveChecksInOrder) {
  const QString duplicate = SlotEditor::DuplicateKeyMessage();
  struct Case {
    const char* name;
    bool edit;  // edit slot 1, else add
    ShortCut hot_key;
    int entry;  // -1: no voice chosen
    QString warning;
    int slots_after;
  } cases[] = {
      {"no hot key", false, 0, -1, "Please, specify hot key for this slot!", 2},
      {"another slot's key", false, kCtrlF1, 2, duplicate, 2},
      {"editing with another slot's key", true, kCtrlF1, 2, duplicate, 2},
      {"the reading key", false, kCtrlF5, 2, duplicate, 2},
      {"the stop key", false, kCtrlF6, 2, duplicate, 2},
      {"the options key", true, kCtrlF7, 2, duplicate, 2},
      {"no voice", false, kCtrlF8, -1, "Please, select voice for this slot!", 2},
      {"editing keeps its own key", true, kCtrlF2, 2, "", 2},
      {"added at the first free number", false, kCtrlF8, 2, "", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store_.RemoveAllSlots();
    store_.SaveSlot(0, "Mary", 4, kCtrlF1, 150, 120, 50);
    store_.SaveSlot(1, "Mike", 4, kCtrlF2, 175, 100, 100);
    page_.SetSelectedRows({});
    messages_.Clear();
    QSignalSpy closes(editor_.get(), &SlotEditor::CloseRequested);
    QSignalSpy focus(&page_, &SlotsPage::ListFocusRequested);
    if (c.edit) {
      editor_->OpenForEditing(1);
    } else {
      editor_->OpenForAdding();
    }
    editor_->voices_list.UserSelect(c.entry < 0 ? 0 : c.entry);
    if (c.entry < 0) editor_->voices_list.SetItemIndex(-1);
    editor_->hot_key_field.SetShortcut(c.hot_key);
    editor_->ActionClicked();
    EXPECT_EQ(Texts(), c.warning.isEmpty() ? QStringList() : QStringList{c.warning});
    for (const auto& box : messages_.Boxes()) EXPECT_EQ(box.kind, MessageBoxes::Kind::kWarning);
    EXPECT_EQ(closes.size(), c.warning.isEmpty() ? 1 : 0);
    EXPECT_EQ(focus.size(), 1);
    ASSERT_EQ(static_cast<int>(store_.Slots().size()), c.slots_after);
  }
  // The added slot: the SAPI 5 starting values.
  const VoiceSlot& added = store_.Slots()[2];
  EXPECT_EQ(added.voice, "Anna");
  EXPECT_EQ(added.sapi_version, 5);
  EXPECT_EQ(added.speed, "150");
  EXPECT_EQ(added.pitch, "105");
  EXPECT_EQ(added.volume, "100");
  EXPECT_EQ(added.hot_key, kCtrlF8);
}

TEST_F(SlotEditorTest, EveryHotKeyIsOffWhileShown) {
  store_.SaveSlot(0, "Mary", 4, kCtrlF1, 150, 120, 50);
  store_.SaveSlot(1, "Mike", 4, kCtrlF2, 175, 100, 100);
  registrar_.ClearCalls();
  editor_->Shown();
  EXPECT_TRUE(registrar_.Registered().empty());
  std::vector<int> order;
  for (const auto& call : registrar_.Calls()) order.push_back(call.identifier);
  // Slot keys first, then reading, stop, options.
  const GlobalHotKey* keys[] = {store_.SlotHotKey(0), store_.SlotHotKey(1), &reading_, &stop_,
                                &options_};
  std::vector<int> expected;
  for (const GlobalHotKey* key : keys) expected.push_back(key->Identifier());
  EXPECT_EQ(order, expected);

  QSignalSpy focus(&page_, &SlotsPage::ListFocusRequested);
  editor_->Hidden();
  EXPECT_EQ(registrar_.Registered().size(), 5u);
  EXPECT_TRUE(registrar_.IsRegistered(HotKeyRegistrar::kModControl, 0x75));  // stop
  EXPECT_EQ(focus.size(), 1);
}

TEST_F(SlotEditorTest, TestVoiceAndHelp) {
  editor_->OpenForAdding();
  editor_->voices_list.SetItemIndex(-1);
  log_->Clear();
  editor_->TestClicked();
  EXPECT_TRUE(log_->Take().empty());

  editor_->voices_list.UserSelect(1);
  editor_->speed_bar.SetPosition(200);
  editor_->TestClicked();
  const auto& sent = factory_.LastEngine()->TextDataCalls();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].data, QByteArray("This is a test for selected voice.\r\n\0", 37));
  EXPECT_EQ(factory_.LastEngine()->Mode().speed, 200u);

  // SAPI 5: the pitch tag is closed after the phrase.
  editor_->voices_list.UserSelect(3);
  editor_->pitch_bar.SetPosition(4);
  log_->Clear();
  editor_->TestClicked();
  std::vector<std::string> speaks;
  for (const std::string& call : log_->Take()) {
    if (FakeCallLog::Matches("Speak", call)) speaks.push_back(call);
  }
  EXPECT_THAT(speaks, ElementsAre("Speak(<pitch middle=\"4\">This is a test for selected "
                                  "voice.</pitch>,1)"));

  editor_->HelpRequested();
  EXPECT_THAT(help_.topics, ElementsAre(HelpTopic::kVoiceSlots));
}

}  // namespace
}  // namespace voxmere
