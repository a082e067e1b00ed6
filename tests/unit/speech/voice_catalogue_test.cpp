// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voice_catalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "fakes/fake_speech_voice.h"
#include "fakes/fake_tts_engine.h"
#include "speech/sapi5_requests.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class VoiceCatalogueTest : public ::testing::Test {
 protected:
  VoiceCatalogueTest() : sapi5_(connector_) {
    // Shorter speaker, speaker as long as the mode name.
    factory_.AddMode("Adult Female #1", "Mary");
    factory_.AddMode("Bob", "Rob");
    connector_.Instance()->SetVoices({"Microsoft Anna", "Zira", "David"});
  }

  FakeTtsObjectFactory factory_;
  FakeSpeechVoiceConnector connector_;
  Sapi5Voice sapi5_;
  VoicesList list_;
};

TEST_F(VoiceCatalogueTest, ListsSapi4ModesThenTaggedSapi5Voices) {
  Sapi4Voice sapi4(factory_);
  QSignalSpy changes(&list_, &VoicesList::Change);
  connector_.Log()->Clear();
  LoadVoicesList(sapi4, sapi5_, true, list_);

  EXPECT_EQ(list_.Items(), QStringList({"Mary", "Bob", "Microsoft Anna (SAPI5)", "Zira (SAPI5)",
                                        "David (SAPI5)"}));
  // The collection is counted once and taken afresh for every voice.
  EXPECT_THAT(connector_.Log()->Take(),
              ElementsAre("GetActiveObject", "CreateInstance", "Advise", "GetVoices(,)", "Count",
                          "GetVoices(,)", "Item(0)", "GetDescription(0)", "GetVoices(,)", "Item(1)",
                          "GetDescription(0)", "GetVoices(,)", "Item(2)", "GetDescription(0)"));
  // Every mode was selected in turn; the last one stays selected.
  EXPECT_EQ(factory_.Engines().size(), 2u);
  EXPECT_TRUE(sapi4.EngineSelected());
  EXPECT_EQ(sapi4.EngineInfo().mode_name, "Bob");
  // Position 0 is selected and the page hears of it once, from -1.
  EXPECT_EQ(list_.ItemIndex(), 0);
  ASSERT_EQ(changes.size(), 1);
  EXPECT_EQ(changes[0], QVariantList({-1, 0}));

  // Positions 0 and 1 speak through SAPI 4, 2..4 through SAPI 5 tokens 0..2.
  EXPECT_EQ(EngineOfEntry(sapi4, 1), VoiceEngine::kSapi4);
  EXPECT_EQ(EngineOfEntry(sapi4, 2), VoiceEngine::kSapi5);
  EXPECT_EQ(EngineOfEntry(sapi4, 4), VoiceEngine::kSapi5);
  EXPECT_EQ(Sapi4ModeNameOfEntry(sapi4, 0), "Adult Female #1");
  EXPECT_EQ(Sapi5IndexOfEntry(sapi4, 2), 0);
  EXPECT_EQ(Sapi5IndexOfEntry(sapi4, 4), 2);
  const auto token = Sapi5TokenOfEntry(sapi5_, sapi4, 4);
  EXPECT_EQ(token->GetDescription(0), "David");
  EXPECT_THROW(Sapi4ModeNameOfEntry(sapi4, 2), Exception);
  EXPECT_THROW(Sapi4ModeNameOfEntry(sapi4, -1), Exception);
  // A position before the list (a voice not found) fails in Item.
  EXPECT_THROW(ApplySapi5Voice(sapi5_, Sapi5IndexOfEntry(sapi4, 1), 0, 100), Exception);
}

TEST_F(VoiceCatalogueTest, DisplayNamesOfSapi4Modes) {
  factory_.AddMode("Carl", "Carlos");            // longer speaker
  factory_.AddMode("Dora", "");                  // empty speaker
  factory_.AddMode("Adult Female #1", "Other");  // a duplicate mode name finds the first mode
  Sapi4Voice sapi4(factory_);
  LoadVoicesList(sapi4, sapi5_, false, list_);
  EXPECT_EQ(list_.Items(), QStringList({"Mary", "Bob", "Carl", "", "Mary"}));
  // Without SAPI 5 no SAPI 5 call is made at all.
  EXPECT_THAT(connector_.Log()->Calls(), IsEmpty());
}

TEST_F(VoiceCatalogueTest, ModesThatCannotBeSelectedKeepTheirModeName) {
  // The third mode's selection fails inside the adapter: its entry must not
  // take the speaker of the mode before.
  factory_.AddMode("Carl the Third", "Carl");
  factory_.Log()->FailOn("Select", "Unspecified error", 2, 1);
  Sapi4Voice sapi4(factory_);
  LoadVoicesList(sapi4, sapi5_, false, list_);
  EXPECT_EQ(list_.Items(), QStringList({"Mary", "Bob", "Carl the Third"}));
  EXPECT_FALSE(sapi4.EngineSelected());

  // An enumeration that broke off: the adapter refuses every selection, yet
  // the modes it did list are kept and the load goes on.
  factory_.Modes().pop_back();
  factory_.Log()->FailOn("Next", "Unspecified error", 1, 1);
  Sapi4Voice broken(factory_);
  ASSERT_FALSE(broken.Initialized());
  LoadVoicesList(broken, sapi5_, true, list_);
  EXPECT_EQ(list_.Items(), QStringList({"Adult Female #1", "Microsoft Anna (SAPI5)", "Zira (SAPI5)",
                                        "David (SAPI5)"}));
}

TEST_F(VoiceCatalogueTest, EmptyCatalogueAndSapi5Failures) {
  factory_.Modes().clear();
  connector_.Instance()->SetVoices({});
  Sapi4Voice sapi4(factory_);
  list_.Add("left over");
  list_.SetItemIndex(0);
  QSignalSpy changes(&list_, &VoicesList::Change);
  LoadVoicesList(sapi4, sapi5_, true, list_);
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(list_.ItemIndex(), -1);
  EXPECT_EQ(changes.size(), 0);

  // A failing SAPI 5 call is not caught here.
  connector_.Instance()->SetVoices({"Anna"});
  connector_.Log()->FailOn("GetDescription", "Element not found.");
  EXPECT_THROW(LoadVoicesList(sapi4, sapi5_, true, list_), Exception);
}

TEST_F(VoiceCatalogueTest, StoredVoicesAreFoundByTaggedNameWithoutRegardToCase) {
  list_.AddStrings({"Anna", "Zira", "Anna (SAPI5)", "Zira (SAPI5)", "zira (sapi5)"});
  EXPECT_EQ(FindStoredVoice(list_, "anna", 5), 2);
  EXPECT_EQ(FindStoredVoice(list_, "ZIRA", 5), 3);  // first match
  EXPECT_EQ(FindStoredVoice(list_, "Zira", 4), 1);
  EXPECT_EQ(FindStoredVoice(list_, "Anna (SAPI5)", 4), 2);
  // The tag is needed for a SAPI 5 entry, and a whole name must match.
  list_.Clear();
  list_.AddStrings({"Bert", "Anna (SAPI5)"});
  EXPECT_EQ(FindStoredVoice(list_, "Anna", 4), -1);
  EXPECT_EQ(FindStoredVoice(list_, "Ann", 5), -1);
  EXPECT_EQ(FindStoredVoice(list_, "Bert", 5), -1);
  EXPECT_EQ(FindStoredVoice(list_, "", 4), -1);
  // Any version other than 4 is SAPI 5.
  EXPECT_EQ(FindStoredVoice(list_, "anna", 0), 1);
  EXPECT_EQ(FindStoredVoice(list_, "Bert", 7), -1);
}

TEST(VoicesListTest, SelectionAndChangeNotification) {
  VoicesList list;
  QSignalSpy changes(&list, &VoicesList::Change);
  QSignalSpy indexes(&list, &VoicesList::ItemIndexChanged);
  list.AddStrings({"a", "b", "c"});
  EXPECT_EQ(list.rowCount(), 3);
  EXPECT_EQ(list.data(list.index(1)).toString(), "b");
  EXPECT_FALSE(list.data(list.index(3)).isValid());
  EXPECT_EQ(list.ItemIndex(), -1);

  // The program's own selection does not notify the page.
  list.SetItemIndex(2);
  list.SetItemIndex(7);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(changes.size(), 0);
  EXPECT_EQ(indexes.size(), 2);

  // A user's choice does, once per new position.
  list.UserSelect(1);
  list.UserSelect(1);
  list.UserSelect(0);
  ASSERT_EQ(changes.size(), 2);
  EXPECT_EQ(changes[0], QVariantList({-1, 1}));
  EXPECT_EQ(changes[1], QVariantList({1, 0}));

  list.Clear();
  EXPECT_EQ(list.rowCount(), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
}

}  // namespace
}  // namespace voxmere
