// SPDX-License-Identifier: GPL-3.0-or-later
#include "slots/voice_slot_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "fakes/fake_hot_key_registrar.h"
#include "fakes/fake_key_names.h"
#include "platform/exception.h"

namespace voxmere {
namespace {

constexpr unsigned kAlt = HotKeyRegistrar::kModAlt;
constexpr unsigned kCtrl = HotKeyRegistrar::kModControl;
constexpr unsigned kShift = HotKeyRegistrar::kModShift;

// Two slots as the program leaves the file: CR LF line ends and a line holding
// a single CR before the second header.
const QByteArray kTwoSlots =
    "[Slot_0]\r\nVoice=Alpha\r\nHotKey=49217\r\nSpeed=150\r\nPitch=105\r\nVolume=100\r\n"
    "SAPIVersion=5\r\n\r\r\n[Slot_1]\r\nVoice=Bravo\r\nHotKey=24688\r\nSpeed=170\r\n"
    "Pitch=120\r\nVolume=80\r\nSAPIVersion=4\r\n";

QByteArray Section(int n, const QByteArray& voice, int hot_key) {
  return QByteArray("[Slot_") + QByteArray::number(n) + "]\r\nVoice=" + voice +
         "\r\nHotKey=" + QByteArray::number(hot_key) +
         "\r\nSpeed=1\r\nPitch=2\r\nVolume=3\r\nSAPIVersion=4\r\n";
}

class VoiceSlotStoreTest : public ::testing::Test {
 protected:
  VoiceSlotStoreTest()
      : owner_(registrar_),
        store_(dir_.filePath("slots.ini"), owner_, key_names_,
               [this](int slot) { pressed_.push_back(slot); }) {}

  void WriteFile(const QByteArray& bytes) {
    QFile file(store_.Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray FileBytes() const {
    QFile file(store_.Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QStringList Voices() const {
    QStringList voices;
    for (const VoiceSlot& slot : store_.Slots()) voices << slot.voice;
    return voices;
  }

  QTemporaryDir dir_;
  FakeKeyNames key_names_;
  FakeHotKeyRegistrar registrar_;
  HotKeyOwner owner_;
  std::vector<int> pressed_;
  VoiceSlotStore store_;
};

TEST_F(VoiceSlotStoreTest, LoadsSlotsAndTheirHotKeys) {
  WriteFile(kTwoSlots);
  store_.LoadVoiceSlots();
  ASSERT_EQ(store_.Slots().size(), 2u);
  const VoiceSlot& alpha = store_.Slots()[0];
  EXPECT_EQ(alpha.voice, "Alpha");
  EXPECT_TRUE(alpha.IsSapi5());
  EXPECT_EQ(alpha.speed, "150");
  EXPECT_EQ(alpha.pitch, "105");
  EXPECT_EQ(alpha.volume, "100");
  EXPECT_EQ(alpha.hot_key, 49217);
  EXPECT_EQ(alpha.hot_key_text, "Ctrl+Alt+A");
  EXPECT_EQ(store_.Slots()[1].hot_key_text, "Shift+Ctrl+F1");
  EXPECT_FALSE(store_.Slots()[1].IsSapi5());

  ASSERT_NE(store_.SlotHotKey(1), nullptr);
  EXPECT_EQ(store_.SlotHotKey(1)->Name(), "SlotHotKey_1");
  EXPECT_EQ(store_.SlotHotKey(1)->Tag(), 1);
  EXPECT_TRUE(store_.SlotHotKey(1)->Active());
  EXPECT_TRUE(registrar_.Press(kCtrl | kShift, 0x70));
  EXPECT_TRUE(registrar_.Press(kCtrl | kAlt, 0x41));
  EXPECT_EQ(pressed_, (std::vector<int>{1, 0}));

  // A rebuild releases the old registrations first, so the same keys work again.
  store_.LoadVoiceSlots();
  EXPECT_EQ(registrar_.Registered().size(), 2u);
  EXPECT_TRUE(store_.SlotHotKey(0)->Active());
}

TEST_F(VoiceSlotStoreTest, LoadingStopsAtTheFirstAbsentSlot) {
  // A gap at 2: the slot after it stays in the file but is not loaded.
  WriteFile(Section(0, "A", 0) + Section(1, "B", 0) + Section(3, "D", 0));
  store_.LoadVoiceSlots();
  EXPECT_EQ(Voices(), (QStringList{"A", "B"}));
  EXPECT_EQ(store_.FirstFreeSlotNumber(), 2);

  // Filling the gap brings the later slot back.
  store_.SaveSlot(2, "C (SAPI5)", 5, 0x4043, 150, 105, 90);
  EXPECT_EQ(Voices(), (QStringList{"A", "B", "C", "D"}));
  EXPECT_EQ(store_.FirstFreeSlotNumber(), 4);

  // A header without keys counts as absent.
  WriteFile("[Slot_0]\r\n[Slot_1]\r\nVoice=B\r\n");
  store_.LoadVoiceSlots();
  EXPECT_TRUE(store_.Slots().empty());
  EXPECT_EQ(store_.FirstFreeSlotNumber(), 0);

  // No file: no slots.
  QFile::remove(store_.Path());
  store_.LoadVoiceSlots();
  EXPECT_TRUE(store_.Slots().empty());
}

TEST_F(VoiceSlotStoreTest, ReadsValuesAsTheWindowsProgramDoes) {
  WriteFile(
      "[Slot_0]\r\nVoice=A\r\nHotKey=0x4041\r\nSAPIVersion=7\r\n"
      "[slot_1]\r\nvoice=B\r\nhotkey=$4041\r\nSpeed=fast\r\n"
      "[Slot_2]\r\nVoice=C\r\nHotKey=16485\r\n"
      "[Slot_3]\r\nVoice=D\r\nHotKey=0\r\n"
      "[Slot_4]\r\nVoice=E\r\nHotKey=many\r\n"
      "[Slot_5]\r\nVoice=F\r\nHotKey=81985\r\n");
  store_.LoadVoiceSlots();
  const auto& loaded = store_.Slots();
  ASSERT_EQ(loaded.size(), 6u);
  EXPECT_EQ(loaded[0].hot_key, 16449);
  EXPECT_EQ(loaded[0].sapi_version, 7);
  EXPECT_FALSE(loaded[0].IsSapi5());
  EXPECT_EQ(loaded[1].hot_key, 16449);  // names and keys without regard to case
  EXPECT_EQ(loaded[1].sapi_version, 4);
  EXPECT_EQ(loaded[1].speed, "fast");  // kept as text, unchecked
  EXPECT_EQ(loaded[1].pitch, "");
  // A keypad digit comes back as the top-row digit of the same name.
  EXPECT_EQ(loaded[2].hot_key, 16437);
  EXPECT_EQ(loaded[2].hot_key_text, "Ctrl+5");
  EXPECT_EQ(loaded[3].hot_key, 0);
  EXPECT_EQ(loaded[3].hot_key_text, "");
  EXPECT_EQ(loaded[4].hot_key, 0);
  // Only the low 16 bits of the stored number count (81985 = 0x14041).
  EXPECT_EQ(loaded[5].hot_key, 16449);
}

TEST_F(VoiceSlotStoreTest, TwoSlotsWithOneHotKeyBothLoadButOnlyOneRegisters) {
  WriteFile(Section(0, "A", 16449) + Section(1, "B", 16449));
  store_.LoadVoiceSlots();
  ASSERT_EQ(store_.Slots().size(), 2u);
  EXPECT_TRUE(store_.SlotHotKey(0)->Active());
  EXPECT_FALSE(store_.SlotHotKey(1)->Active());
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x41));
  EXPECT_EQ(pressed_, std::vector<int>{0});
}

TEST_F(VoiceSlotStoreTest, SavingWritesTheWindowsFileFormat) {
  QSignalSpy changed(&store_, &VoiceSlotStore::SlotsChanged);
  store_.SaveSlot(0, "Alpha (SAPI5)", 5, 49217, 150, 105, 100);
  store_.SaveSlot(1, "Bravo", 4, 24688, 170, 120, 80);
  EXPECT_EQ(FileBytes(), kTwoSlots);
  EXPECT_EQ(changed.count(), 2);
  EXPECT_EQ(store_.Slots()[0].voice, "Alpha");
  EXPECT_TRUE(store_.SlotHotKey(1)->Active());

  // Editing a slot keeps the places of its keys and its section.
  store_.SaveSlot(0, "Alpha", 4, 49217, 3, 4, 5);
  QByteArray expected = kTwoSlots;
  expected.replace("Speed=150\r\nPitch=105\r\nVolume=100\r\nSAPIVersion=5",
                   "Speed=3\r\nPitch=4\r\nVolume=5\r\nSAPIVersion=4");
  EXPECT_EQ(FileBytes(), expected);
}

TEST_F(VoiceSlotStoreTest, DeletingRenumbersTheLaterSlots) {
  WriteFile(Section(0, "A", 0x4041) + Section(1, "B", 0x4042) + Section(2, "C", 0x4043) +
            Section(3, "D", 0x4044));
  store_.LoadVoiceSlots();
  store_.DeleteVoiceSlot(1);
  EXPECT_EQ(Voices(), (QStringList{"A", "C", "D"}));
  store_.LoadVoiceSlots();
  EXPECT_EQ(Voices(), (QStringList{"A", "C", "D"}));
  EXPECT_EQ(store_.Slots()[1].hot_key, 0x4043);
  EXPECT_EQ(FileBytes(), Section(0, "A", 0x4041) + "\r\r\n" + Section(1, "C", 0x4043) + "\r\r\n" +
                             Section(2, "D", 0x4044));

  // The deleted slot's key no longer reads; the slot after it reads as number 1.
  EXPECT_FALSE(registrar_.Press(kCtrl, 0x42));
  EXPECT_TRUE(registrar_.Press(kCtrl, 0x43));
  EXPECT_EQ(pressed_, std::vector<int>{1});

  // Several at once: highest first, then one rebuild.
  store_.DeleteVoiceSlot(2);
  store_.DeleteVoiceSlot(0);
  store_.LoadVoiceSlots();
  EXPECT_EQ(Voices(), QStringList{"C"});

  // The last one takes the file with it.
  store_.DeleteVoiceSlot(0);
  EXPECT_FALSE(QFile::exists(store_.Path()));
  EXPECT_THROW(store_.DeleteVoiceSlot(0), Exception);
}

TEST_F(VoiceSlotStoreTest, DeletingMatchesHeadersWrittenByHand) {
  // Headers with blanks are found by the INI reads, so the text steps of the
  // deletion must find them too, or the file would end up half renumbered.
  WriteFile("[Slot_0]\r\nVoice=A\r\n[ Slot_1 ]\r\nVoice=B\r\n[SLOT_2]\r\nVoice=C\r\n");
  store_.LoadVoiceSlots();
  ASSERT_EQ(store_.Slots().size(), 3u);
  store_.DeleteVoiceSlot(0);
  store_.LoadVoiceSlots();
  EXPECT_EQ(Voices(), (QStringList{"B", "C"}));
}

TEST_F(VoiceSlotStoreTest, AFailedRebuildStillReportsTheEmptiedTable) {
  WriteFile(kTwoSlots);
  store_.LoadVoiceSlots();
  ASSERT_EQ(store_.Slots().size(), 2u);
  QSignalSpy changed(&store_, &VoiceSlotStore::SlotsChanged);
  // A folder in the file's place: the file cannot be read.
  ASSERT_TRUE(QFile::remove(store_.Path()));
  ASSERT_TRUE(QDir().mkdir(store_.Path()));
  EXPECT_THROW(store_.LoadVoiceSlots(), Exception);
  // The old slots and their keys are gone, and a view showing the table is told.
  EXPECT_TRUE(store_.Slots().empty());
  EXPECT_EQ(store_.SlotHotKeyCount(), 0);
  EXPECT_TRUE(registrar_.Registered().empty());
  EXPECT_EQ(changed.count(), 1);
  EXPECT_THROW(store_.RemoveAllSlots(), Exception);
  EXPECT_EQ(changed.count(), 2);
}

TEST_F(VoiceSlotStoreTest, RemovingAllSlotsReleasesTheirHotKeys) {
  WriteFile(kTwoSlots);
  store_.LoadVoiceSlots();
  store_.RemoveAllSlots();
  EXPECT_TRUE(store_.Slots().empty());
  EXPECT_EQ(store_.SlotHotKeyCount(), 0);
  EXPECT_TRUE(registrar_.Registered().empty());
  EXPECT_FALSE(QFile::exists(store_.Path()));
  store_.RemoveAllSlots();  // no file: passes silently
  EXPECT_TRUE(store_.Slots().empty());
}

}  // namespace
}  // namespace voxmere
