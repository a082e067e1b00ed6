// SPDX-License-Identifier: GPL-3.0-or-later
// The program under load, as a tray program meets it over weeks: hot key
// storms, and a run of readings through every kind of key with stops in
// the capture and in the speech. It must keep working, put the user's
// clipboard back and leak no descriptors or threads.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

using namespace std::chrono_literals;

const QByteArray kSlots =
    "[Slot_0]\r\nVoice=English (America)\r\nHotKey=49201\r\nSpeed=170\r\nPitch=50\r\n"
    "Volume=100\r\nSAPIVersion=4\r\n"
    "[Slot_1]\r\nVoice=English (America)\r\nHotKey=49202\r\nSpeed=0\r\nPitch=0\r\n"
    "Volume=100\r\nSAPIVersion=5\r\n";
const QString kLine = "Hello there, this line is read again and again by the soak";

// What a process holds: resident memory, threads, open descriptors.
struct Holdings {
  long rss_kib = -1;
  long threads = -1;
  long descriptors = -1;
};

Holdings HoldingsOf(qint64 pid) {
  Holdings holdings;
  for (const QByteArray& line : FileContent(QString("/proc/%1/status").arg(pid)).split('\n')) {
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.size() < 2) continue;
    if (words[0] == "VmRSS:") holdings.rss_kib = words[1].toLong();
    if (words[0] == "Threads:") holdings.threads = words[1].toLong();
  }
  holdings.descriptors =
      QDir(QString("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot | QDir::System).size();
  return holdings;
}

class LoadTest : public ScenarioTest {
 protected:
  // The keys typed `times` times over, 45 ms apart, by one xdotool.
  static bool Storm(const QStringList& keys, int times) {
    QStringList arguments = {"key", "--delay", "45"};
    for (int i = 0; i < times; ++i) arguments += keys;
    return Xdo(arguments);
  }

  // After any load: the program runs, silences everything it has queued on
  // a stop, and its icon goes back to the idle picture. The stop comes once
  // the last capture is over: a stop typed while the program types Ctrl+C
  // may lose its Ctrl, as it would on any desktop.
  void ExpectIdleAndResponsive(const QImage& idle) {
    Pause(1500);
    ASSERT_TRUE(PressKeys("ctrl+F12"));
    ASSERT_TRUE(monitor_->WaitForSilence(400ms, 5s)) << "still speaking after the stop";
    EXPECT_EQ(program_->state(), QProcess::Running) << Output().toStdString();
    QImage settled;
    EXPECT_TRUE(TrayPictureSettles(program_->processId(), settled)) << Output().toStdString();
    EXPECT_EQ(settled, idle) << "the tray icon did not come back to its idle picture";
  }

  // l3afpad showing `line` from a file in `folder`, with the line selected
  // and the focus; its window, empty (with a test failure) otherwise.
  QString EditorWithSelection(const QTemporaryDir& folder, const QString& line) {
    QFile text(folder.filePath("load.txt"));
    if (!text.open(QIODevice::WriteOnly)) return {};
    text.write(line.toUtf8());
    text.close();
    editor_.start("l3afpad", {text.fileName()});
    QString window;
    WaitFor([&] {
      const RunResult found =
          e2e::Run("xdotool", {"search", "--onlyvisible", "--name", "load.txt"});
      window = QString::fromLatin1(found.output).section('\n', 0, 0).trimmed();
      return found.ok && !window.isEmpty();
    });
    if (window.isEmpty() || !Focus(window) ||
        !Xdo({"key", "--clearmodifiers", "ctrl+Home", "shift+End"}) ||
        !WaitFor([&] { return PrimarySelection() == line.toUtf8(); })) {
      ADD_FAILURE() << "no editor with the line selected";
      return {};
    }
    return window;
  }

  void TearDown() override {
    editor_.kill();
    editor_.waitForFinished(5000);
    ScenarioTest::TearDown();
  }

  QProcess editor_;
};

TEST_F(LoadTest, HotKeyStormsEndWithTheUsersClipboardAndAnIdleIcon) {
  ASSERT_NE(StartProgram(), nullptr);
  QImage idle;
  ASSERT_TRUE(TrayPictureSettles(program_->processId(), idle));
  ClipboardOwner user("the user's own clipboard text");
  ASSERT_TRUE(user.Owns());
  ASSERT_FALSE(SelectInXterm(kLine).isEmpty());

  const struct {
    const char* name;
    QStringList keys;
    int times;
  } storms[] = {
      {"twenty reading presses in a second", {"ctrl+BackSpace"}, 20},
      {"reading and stop, ten times each", {"ctrl+BackSpace", "ctrl+F12"}, 10},
  };
  for (const auto& storm : storms) {
    SCOPED_TRACE(storm.name);
    monitor_->Clear();
    ASSERT_TRUE(Storm(storm.keys, storm.times));
    ExpectIdleAndResponsive(idle);
    EXPECT_EQ(ClipboardText(), QByteArray("the user's own clipboard text"));
    // Still reading at once after the storm.
    ASSERT_TRUE(PressAndListen("ctrl+BackSpace", 5s)) << Output().toStdString();
  }
  ExpectIdleAndResponsive(idle);
}

TEST_F(LoadTest, ManyReadingsOfEveryKindLeakNothingAndKeepThePicture) {
  const int readings = qEnvironmentVariableIntValue("VOXMERE_SOAK_READINGS") > 0
                           ? qEnvironmentVariableIntValue("VOXMERE_SOAK_READINGS")
                           : 50;
  copy_.WriteSettingsFile("slots.ini", kSlots);
  // A failed reading beeps, which the sink hears too: the log tells.
  QProcessEnvironment log;
  log.insert("QT_LOGGING_RULES", "voxmere.app.warning=true");
  log.insert("QT_FORCE_STDERR_LOGGING", "1");
  ASSERT_NE(StartProgram(kRunBefore, log), nullptr);
  QImage idle;
  ASSERT_TRUE(TrayPictureSettles(program_->processId(), idle));

  // The user's clipboard holds a picture.
  QTemporaryDir folder;
  QImage picture(24, 16, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  const QString png = folder.filePath("picture.png");
  ASSERT_TRUE(picture.save(png));
  QProcess picture_owner;
  picture_owner.start("xclip", {"-quiet", "-selection", "clipboard", "-t", "image/png", "-i", png});
  ASSERT_TRUE(picture_owner.waitForStarted(5000));
  const QByteArray png_bytes = FileContent(png);
  const auto clipboard_picture = [] {
    return e2e::Run("xclip", {"-o", "-selection", "clipboard", "-t", "image/png"}).output;
  };
  ASSERT_TRUE(WaitFor([&] { return clipboard_picture() == png_bytes; }, 10000));

  // An editor keeps its selection when the clipboard is taken from it, so
  // every reading reads the line.
  ASSERT_FALSE(EditorWithSelection(folder, kLine).isEmpty());

  // The kinds of reading, in turn: the key, what follows the first sound,
  // and whether sound must come at all.
  enum class Then { kListen, kStopInSpeech, kStopInCapture, kPressAgain };
  const struct {
    const char* keys;
    Then then;
  } kinds[] = {
      {"ctrl+BackSpace", Then::kStopInSpeech}, {"ctrl+alt+1", Then::kStopInSpeech},
      {"ctrl+alt+2", Then::kStopInSpeech},     {"ctrl+BackSpace", Then::kStopInCapture},
      {"ctrl+BackSpace", Then::kPressAgain},   {"ctrl+alt+1", Then::kListen},
  };
  // Counted once every kind has run twice: the engines' connections and
  // threads are open by then.
  const int kinds_count = static_cast<int>(std::size(kinds));
  Holdings warm;
  int silent = 0;
  for (int i = 0; i < readings; ++i) {
    const auto& kind = kinds[i % kinds_count];
    SCOPED_TRACE(i);
    if (i == kinds_count * 2) warm = HoldingsOf(program_->processId());
    monitor_->Clear();
    if (kind.then == Then::kStopInCapture) {
      ASSERT_TRUE(Xdo({"key", "--delay", "10", kind.keys, "ctrl+F12"}));
    } else {
      ASSERT_TRUE(PressKeys(kind.keys));
      if (!monitor_->WaitForSound(10s)) {
        ++silent;
        ADD_FAILURE() << kind.keys << " gave no sound; " << Output().toStdString();
      } else if (kind.then == Then::kStopInSpeech) {
        ASSERT_TRUE(PressKeys("ctrl+F12"));
      } else if (kind.then == Then::kPressAgain) {
        ASSERT_TRUE(PressKeys("ctrl+BackSpace"));
        ASSERT_TRUE(monitor_->WaitForSound(10s));
        ASSERT_TRUE(PressKeys("ctrl+F12"));
      }
    }
    ASSERT_TRUE(monitor_->WaitForSilence(400ms, 20s)) << "the reading did not end";
  }

  ASSERT_EQ(program_->state(), QProcess::Running) << Output().toStdString();
  EXPECT_FALSE(Output().contains("beeping")) << Output().toStdString();
  const Holdings end = HoldingsOf(program_->processId());
  std::printf(
      "%d readings: resident %ld -> %ld KiB (%+ld), threads %ld -> %ld, "
      "descriptors %ld -> %ld, silent readings %d\n",
      readings, warm.rss_kib, end.rss_kib, end.rss_kib - warm.rss_kib, warm.threads, end.threads,
      warm.descriptors, end.descriptors, silent);
  EXPECT_EQ(end.descriptors, warm.descriptors) << "descriptors leaked";
  EXPECT_EQ(end.threads, warm.threads) << "threads leaked";
  EXPECT_EQ(clipboard_picture(), png_bytes)
      << "the user's picture is gone from the clipboard; " << Output().toStdString();
  ExpectIdleAndResponsive(idle);
  picture_owner.kill();
  picture_owner.waitForFinished(5000);
}

TEST_F(LoadTest, AClipboardManagerNeitherKeepsTheUsersTextNorGivesAnOldCopy) {
  // CopyQ watches the clipboard and takes each new text over; the restore
  // must still win, and each reading must read what is selected now.
  QProcessEnvironment log;
  log.insert("QT_LOGGING_RULES", "voxmere.reading=true");
  log.insert("QT_FORCE_STDERR_LOGGING", "1");
  ASSERT_NE(StartProgram(kRunBefore, log), nullptr);
  QProcess manager;
  manager.setStandardOutputFile(QProcess::nullDevice());
  manager.setStandardErrorFile(QProcess::nullDevice());
  manager.start("copyq", {});
  ASSERT_TRUE(manager.waitForStarted(5000));
  // Its server answers once it watches the clipboard.
  ASSERT_TRUE(WaitFor([] { return e2e::Run("copyq", {"count"}).ok; })) << "CopyQ did not start";
  Pause(500);
  ClipboardOwner user("KEEP");
  QByteArray recorded;
  ASSERT_TRUE(WaitFor([&] {
    const RunResult read = e2e::Run("copyq", {"read", "0"});
    recorded = read.output.trimmed() + (read.ok ? "" : " (copyq failed)");
    return read.output.trimmed() == "KEEP";
  })) << "CopyQ did not record the clipboard: "
      << recorded.toStdString();
  QTemporaryDir folder;
  const QString editor = EditorWithSelection(folder, "reading number 0");
  ASSERT_FALSE(editor.isEmpty());

  for (int i = 1; i <= 10; ++i) {
    SCOPED_TRACE(i);
    // A new line each time: "reading number <i>", selected.
    ASSERT_TRUE(Focus(editor));
    ASSERT_TRUE(Xdo({"key", "--clearmodifiers", "ctrl+Home", "shift+End"}));
    ASSERT_TRUE(Xdo({"type", "--delay", "5", QString("reading number %1").arg(i)}));
    ASSERT_TRUE(Xdo({"key", "--clearmodifiers", "ctrl+Home", "shift+End"}));
    ASSERT_TRUE(WaitFor([&] { return PrimarySelection() == QString("reading number %1").arg(i); }));
    ASSERT_TRUE(PressAndListen("ctrl+BackSpace", 10s)) << Output().toStdString();
    ASSERT_TRUE(monitor_->WaitForSilence(400ms, 20s));
    EXPECT_EQ(ClipboardText(), QByteArray("KEEP"));
  }
  // The log names every reading that read the clipboard instead of a copy.
  EXPECT_FALSE(Output().contains("nothing was copied")) << Output().toStdString();
  manager.kill();
  manager.waitForFinished(5000);
}

}  // namespace
}  // namespace voxmere::e2e
