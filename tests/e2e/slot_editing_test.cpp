// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <cstdio>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// Ctrl (0x4000) + Alt (0x8000) + the digit key, as slots.ini stores it.
constexpr int kCtrlAlt = 0xC000;
const QString kVoice = "English (America)";
const QString kSentence = "The quick brown fox jumps over the lazy dog";

// A slot section of slots.ini for an espeak-ng voice (listed by its name),
// with that engine's own numbers.
QByteArray SlotSection(int n, int digit, int speed) {
  return QString(
             "[Slot_%1]\r\nVoice=%2\r\nHotKey=%3\r\nSpeed=%4\r\nPitch=50\r\nVolume=100\r\n"
             "SAPIVersion=4\r\n")
      .arg(n)
      .arg(kVoice)
      .arg(kCtrlAlt + '0' + digit)
      .arg(speed)
      .toUtf8();
}

class SlotEditingTest : public ScenarioTest {
 protected:
  // Starts the program with slots.ini (none when empty).
  bool Start(const QByteArray& slots_ini = {}) {
    slots_ini_ = copy_.SettingsFile("slots.ini");
    if (!slots_ini.isEmpty()) copy_.WriteSettingsFile("slots.ini", slots_ini);
    return StartProgram() != nullptr;
  }

  // An xterm with `line` selected and the focus; its window, empty (with a
  // test failure) when that did not come about.
  QString XtermWithSelection(const QString& line) {
    const QString xterm = xterms_.Start(line);
    if (xterm.isEmpty() || Xterms::SelectFirstRow(xterm, line).isEmpty()) {
      ADD_FAILURE() << "no xterm with the line selected";
      return {};
    }
    return xterm;
  }

  // Shows the options window on the Voice slots page (the third tab).
  std::optional<WindowInfo> OpenSlotsPage() {
    std::optional<WindowInfo> window;
    if (PressKeys("ctrl+F11")) window = copy_.WaitForOptionsWindow(*program_);
    if (!window || !Focus(window->id) || !PressKeys("ctrl+Tab") || !PressKeys("ctrl+Tab")) {
      ADD_FAILURE() << "could not reach the Voice slots page; " << Output().toStdString();
      return std::nullopt;
    }
    return window;
  }

  // Opens the slot editor with the page's "&Add" and puts the focus into
  // its hot key field (after the voice list).
  std::optional<WindowInfo> OpenAddDialog() {
    std::optional<WindowInfo> dialog;
    if (PressKeys("alt+a")) dialog = Shown(kAddCaption);
    if (!dialog || !Focus(dialog->id) || !PressKeys("Tab")) {
      ADD_FAILURE() << "the slot editor did not come; " << Output().toStdString();
      return std::nullopt;
    }
    return dialog;
  }

  // The program's window with the caption, once it is shown.
  std::optional<WindowInfo> Shown(const QString& caption) {
    std::optional<WindowInfo> window;
    WaitFor(
        [&] { return (window = VisibleWindowNamed(program_->processId(), caption)).has_value(); });
    return window;
  }

  bool Gone(const QString& caption) {
    return WaitFor([&] { return !VisibleWindowNamed(program_->processId(), caption); });
  }

  // How long the keys read the selection aloud; nullopt when they stay
  // silent (for as long as a reading takes to start).
  std::optional<milliseconds> Reading(const QString& keys) {
    const std::optional<Clock::time_point> start = PressAndListen(keys, 10s);
    if (!start) return std::nullopt;
    const std::optional<Clock::time_point> end = WaitForQuiet(30s);
    EXPECT_TRUE(end) << "the reading did not end";
    if (!end) return std::nullopt;
    const auto spoken = duration_cast<milliseconds>(*end - *start);
    std::printf("%s read for %lld ms\n", qUtf8Printable(keys),
                static_cast<long long>(spoken.count()));
    return spoken;
  }

  bool Silent(const QString& keys) {
    monitor_->Clear();
    return PressKeys(keys) && !monitor_->WaitForSound(3s).has_value();
  }

  static inline const QString kAddCaption = "Add voice slot";
  QString slots_ini_;
};

TEST_F(SlotEditingTest, EscInTheHotKeyFieldClosesTheEditorAndKeepsTheSlots) {
  const QByteArray stored = SlotSection(0, 1, 175);
  ASSERT_TRUE(Start(stored));
  ASSERT_TRUE(OpenSlotsPage());
  ASSERT_TRUE(OpenAddDialog());
  ASSERT_TRUE(PressKeys("ctrl+alt+2"));
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_TRUE(Gone(kAddCaption)) << "Esc did not close the slot editor";
  EXPECT_TRUE(copy_.WaitForOptionsWindow(*program_, 1000)) << "the options window went too";
  EXPECT_EQ(FileContent(slots_ini_), stored);
}

TEST_F(SlotEditingTest, TheOpenEditorSwitchesTheReadingKeysOffUntilItCloses) {
  ASSERT_TRUE(Start(SlotSection(0, 1, 175)));
  const QString xterm = XtermWithSelection("Read after the editor");
  ASSERT_FALSE(xterm.isEmpty());
  ASSERT_TRUE(OpenSlotsPage());
  const std::optional<WindowInfo> dialog = OpenAddDialog();
  ASSERT_TRUE(dialog);
  const QStringList keys = {"ctrl+BackSpace", "ctrl+alt+1"};  // the reading key, the slot's

  ASSERT_TRUE(Focus(xterm));
  for (const QString& key : keys) {
    EXPECT_TRUE(Silent(key)) << key.toStdString() << " read while the editor was open";
  }
  ASSERT_TRUE(Focus(dialog->id) && PressKeys("Escape"));
  ASSERT_TRUE(Gone(kAddCaption));
  ASSERT_TRUE(Focus(xterm));
  for (const QString& key : keys) {
    EXPECT_TRUE(Reading(key)) << key.toStdString() << " stays off; " << Output().toStdString();
  }
}

TEST_F(SlotEditingTest, AddedSlotReadsWithItsNewHotKeyAndIsStored) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(OpenSlotsPage());
  ASSERT_TRUE(OpenAddDialog());
  // Tab leaves the field for a slider, where Return presses "Add slot".
  ASSERT_TRUE(PressKeys("ctrl+alt+1") && PressKeys("Tab") && PressKeys("Return"));
  ASSERT_TRUE(Gone(kAddCaption)) << "the slot was not added; " << Output().toStdString();
  EXPECT_EQ(IniValue(slots_ini_, "Slot_0", "HotKey"), QString::number(kCtrlAlt + '1'))
      << FileContent(slots_ini_).toStdString();
  EXPECT_TRUE(IniValue(slots_ini_, "Slot_0", "Voice").has_value());

  ASSERT_FALSE(SelectInXterm("Added slot").isEmpty());
  EXPECT_TRUE(Reading("ctrl+alt+1"))
      << "the new slot key does not read; " << Output().toStdString();
}

TEST_F(SlotEditingTest, DeletingTheMiddleSlotKeepsTheOthersReadingWithTheirVoices) {
  ASSERT_TRUE(Start(SlotSection(0, 1, 100) + SlotSection(1, 2, 250) + SlotSection(2, 3, 400)));
  const QString xterm = XtermWithSelection(kSentence);
  ASSERT_FALSE(xterm.isEmpty());
  const std::optional<WindowInfo> window = OpenSlotsPage();
  ASSERT_TRUE(window);
  // The page comes up with the focus on its tab; the slot editor, once
  // closed, leaves it in the list, where Home and Down select the second row.
  ASSERT_TRUE(OpenAddDialog());
  ASSERT_TRUE(PressKeys("Escape") && Gone(kAddCaption));
  ASSERT_TRUE(Focus(window->id));
  ASSERT_TRUE(PressKeys("Home") && PressKeys("Down") && PressKeys("Delete"));
  const std::optional<WindowInfo> confirm = Shown("Confirm");
  ASSERT_TRUE(confirm) << "no question came; " << Output().toStdString();
  ASSERT_TRUE(Focus(confirm->id) && PressKeys("y"));
  ASSERT_TRUE(Gone("Confirm"));
  EXPECT_TRUE(WaitFor([&] { return !IniValue(slots_ini_, "Slot_2", "HotKey"); }))
      << FileContent(slots_ini_).toStdString();
  EXPECT_EQ(IniValue(slots_ini_, "Slot_0", "Speed"), "100");
  EXPECT_EQ(IniValue(slots_ini_, "Slot_1", "Speed"), "400");
  EXPECT_EQ(IniValue(slots_ini_, "Slot_1", "HotKey"), QString::number(kCtrlAlt + '3'));
  ASSERT_TRUE(Focus(window->id) && PressKeys("Escape"));
  ASSERT_TRUE(Gone("Voxmere! Options"));

  ASSERT_TRUE(Focus(xterm));
  const std::optional<milliseconds> slow = Reading("ctrl+alt+1");
  const std::optional<milliseconds> fast = Reading("ctrl+alt+3");
  ASSERT_TRUE(slow && fast) << Output().toStdString();
  // Speeds 100 and 400: a fourth of the time; the deleted slot's 250 would
  // take two fifths.
  EXPECT_GT(*slow, *fast * 3) << "the slots do not read with their own speeds";
  EXPECT_TRUE(Silent("ctrl+alt+2")) << "the deleted slot's key still reads";
}

}  // namespace
}  // namespace voxmere::e2e
