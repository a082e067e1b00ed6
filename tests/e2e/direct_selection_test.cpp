// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// A program that has run before, with "Read the selection directly" on.
const QByteArray kReadDirectly =
    "[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\nPrimarySelection=1\r\n";

// Read instead of the selection, this would go on for many seconds.
const QByteArray kClipboardText =
    "This clipboard text must never be read aloud, for the reading takes what is selected on "
    "the screen and leaves the clipboard alone from the start to the end of it";

class DirectSelectionTest : public ScenarioTest {
 protected:
  ~DirectSelectionTest() override {
    for (const auto& app : apps_) {
      app->kill();
      app->waitForFinished(3000);
    }
  }

  // Starts an application and gives the keyboard focus to its window, found
  // by (a part of) its name; the window's id, empty when it did not come.
  QString StartApp(const QString& program, const QStringList& arguments, const QString& name) {
    auto& app = apps_.emplace_back(std::make_unique<QProcess>());
    app->setStandardOutputFile(QProcess::nullDevice());
    app->setStandardErrorFile(QProcess::nullDevice());
    app->start(program, arguments);
    QString window;
    WaitFor([&] {
      const RunResult found = e2e::Run("xdotool", {"search", "--onlyvisible", "--name", name});
      window = QString::fromLatin1(found.output).section('\n', 0, 0).trimmed();
      return found.ok && !window.isEmpty();
    });
    return !window.isEmpty() && Focus(window) ? window : QString();
  }

  // The reading hot key over the selection "Hello there": a short reading.
  void ExpectTwoWordsRead(const char* application) {
    SCOPED_TRACE(application);
    const std::optional<Clock::time_point> start = PressAndListen("ctrl+BackSpace", 20s);
    ASSERT_TRUE(start) << "nothing was spoken; " << Output().toStdString();
    const std::optional<Clock::time_point> end = WaitForQuiet(30s);
    ASSERT_TRUE(end);
    const auto spoken = duration_cast<milliseconds>(*end - *start);
    std::printf("%s: two words spoken in %lld ms\n", application,
                static_cast<long long>(spoken.count()));
    EXPECT_GT(spoken, 200ms);
    EXPECT_LT(spoken, 4000ms);
  }

  QTemporaryDir folder_;
  std::vector<std::unique_ptr<QProcess>> apps_;
};

TEST_F(DirectSelectionTest, ReadsTheScreenSelectionOfXtermGtkAndQtAndNeverTouchesTheClipboard) {
  ASSERT_NE(StartProgram(kReadDirectly), nullptr);
  ClipboardOwner clipboard(kClipboardText);
  ASSERT_TRUE(clipboard.Owns());

  // An xterm copies on Ctrl+C: a copy would take the clipboard from xclip.
  ASSERT_FALSE(SelectInXterm("Hello there").isEmpty());
  ExpectTwoWordsRead("xterm");

  QFile text(folder_.filePath("direct-selection.txt"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("Hello there\nand a second line that is not selected\n");
  text.close();
  ASSERT_FALSE(StartApp("l3afpad", {text.fileName()}, "direct-selection.txt").isEmpty());
  ASSERT_TRUE(Xdo({"key", "--clearmodifiers", "ctrl+Home", "shift+End"}));
  ASSERT_TRUE(WaitFor([] { return PrimarySelection() == "Hello there"; }));
  ExpectTwoWordsRead("l3afpad");

  ASSERT_FALSE(
      StartApp(VOXMERE_QT_SELECTION_OWNER, {"Hello there", "direct-qt-field"}, "direct-qt-field")
          .isEmpty());
  ASSERT_TRUE(WaitFor([] { return PrimarySelection() == "Hello there"; }));
  ExpectTwoWordsRead("Qt field");

  // xclip still owns the clipboard: nobody ever took it.
  EXPECT_TRUE(clipboard.Owns());
  EXPECT_EQ(ClipboardText(), kClipboardText);
}

}  // namespace
}  // namespace voxmere::e2e
