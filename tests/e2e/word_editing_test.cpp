// SPDX-License-Identifier: GPL-3.0-or-later
#include <QScreen>
#include <chrono>
#include <cstdio>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// Corrections on, and the options window's focus on its page tabs, from
// where the arrow keys reach the Pronunciation page.
const QByteArray kCorrectionsOn = kRunBefore +
                                  "[Pronunciation]\r\nWordsCorrections=1\r\n"
                                  "[Options_window]\r\nActiveControl=Pages\r\n";

// A short word read as a long phrase: the reading grows by seconds.
const QString kLine = "Hello cat";
const QString kWord = "cat";
const QString kPronunciation =
    "a small furry animal that purrs on the sofa and chases the mice all day long";

class WordEditingTest : public ScenarioTest {
 protected:
  // How long the keys' reading sounds; nullopt (with a test failure) when
  // nothing sounds or the sound does not end.
  std::optional<milliseconds> SpokenFor(const QString& keys) {
    const std::optional<Clock::time_point> start = PressAndListen(keys, 20s);
    if (!start) {
      ADD_FAILURE() << keys.toStdString() << " spoke nothing; " << Output().toStdString();
      return std::nullopt;
    }
    const std::optional<Clock::time_point> end = WaitForQuiet(30s);
    if (!end) {
      ADD_FAILURE() << keys.toStdString() << " did not stop speaking";
      return std::nullopt;
    }
    const auto spoken = duration_cast<milliseconds>(*end - *start);
    std::printf("%s spoke for %lld ms\n", keys.toUtf8().constData(),
                static_cast<long long>(spoken.count()));
    return spoken;
  }

  // The program's viewable window with this name, waited for; nullopt
  // (with a test failure and a picture of the screen) when it does not come.
  std::optional<WindowInfo> WaitForWindow(const QString& name) {
    std::optional<WindowInfo> window;
    if (WaitFor([&] { return bool(window = VisibleWindowNamed(program_->processId(), name)); })) {
      return window;
    }
    ADD_FAILURE() << "no window \"" << name.toStdString() << "\"; picture: "
                  << SaveArtifact(GrabScreen(QGuiApplication::primaryScreen()->geometry()),
                                  "word-editing.png")
                         .toStdString();
    return std::nullopt;
  }

  // Whether the program's window with this name goes within the time.
  bool WindowGoes(const QString& name) {
    return WaitFor([&] { return !VisibleWindowNamed(program_->processId(), name); });
  }
};

TEST_F(WordEditingTest, AddedCorrectionIsSpokenByTestAndByReadings) {
  ASSERT_NE(StartProgram(kCorrectionsOn), nullptr);
  const QString xterm = xterms_.Start(kLine);
  ASSERT_FALSE(xterm.isEmpty()) << "the xterm did not come";
  ASSERT_FALSE(Xterms::SelectFirstRow(xterm, kLine).isEmpty());
  const std::optional<milliseconds> before = SpokenFor("ctrl+BackSpace");
  ASSERT_TRUE(before);

  // Options window, Pronunciation page (the fourth tab), "&Add".
  ASSERT_TRUE(PressKeys("ctrl+F11"));
  const std::optional<WindowInfo> options = copy_.WaitForOptionsWindow(*program_);
  ASSERT_TRUE(options) << Output().toStdString();
  ASSERT_TRUE(Focus(options->id));
  for (int tab = 1; tab <= 3; ++tab) ASSERT_TRUE(PressKeys("Right"));
  ASSERT_TRUE(PressKeys("alt+a"));
  const std::optional<WindowInfo> editor = WaitForWindow("Pronunciation correction");
  ASSERT_TRUE(editor);

  // The word box has the focus; "Add word" is the default button.
  ASSERT_TRUE(Focus(editor->id));
  ASSERT_TRUE(Xdo({"type", "--delay", "20", kWord}));
  ASSERT_TRUE(PressKeys("Tab"));
  ASSERT_TRUE(Xdo({"type", "--delay", "20", kPronunciation}));
  ASSERT_TRUE(PressKeys("Return"));
  ASSERT_TRUE(WindowGoes("Pronunciation correction")) << "\"Add word\" left the editor open";
  const QString words = copy_.SettingsFile("words.ini");
  EXPECT_TRUE(FileContent(words).contains(
      (kWord + "###***###" + kPronunciation + "###***###No\r\n").toUtf8()))
      << FileContent(words).toStdString();

  // The new row is selected: "&Test" speaks its pronunciation.
  ASSERT_TRUE(Focus(options->id));
  const std::optional<milliseconds> tested = SpokenFor("alt+t");
  ASSERT_TRUE(tested);

  ASSERT_TRUE(PressKeys("alt+o"));
  ASSERT_TRUE(WindowGoes("Voxmere! Options")) << "OK did not close the options window";

  // The same selection now reads the word as the long phrase.
  ASSERT_FALSE(Xterms::SelectFirstRow(xterm, kLine).isEmpty());
  const std::optional<milliseconds> after = SpokenFor("ctrl+BackSpace");
  ASSERT_TRUE(after);
  EXPECT_GT(*after, *before + 1500ms) << "the correction was not applied";
  // Test spoke the phrase alone: as long as the reading, less "Hello".
  EXPECT_LT(*after > *tested ? *after - *tested : *tested - *after, 1000ms)
      << "Test did not speak the pronunciation";
}

}  // namespace
}  // namespace voxmere::e2e
