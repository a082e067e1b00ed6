// SPDX-License-Identifier: GPL-3.0-or-later
// The Wayland session's selection read in a real sway session, with
// wl-copy as the Wayland application that holds a selection.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <chrono>
#include <memory>
#include <ostream>
#include <vector>

#include "platform/wayland/wayland_session_selection.h"
#include "support/wait_until.h"

namespace voxmere {
namespace {

using Outcome = SessionSelectionText::Outcome;
using std::chrono_literals::operator""ms;

// The bound the reads get: a 1 MB text comes well within it.
constexpr int kBound = 2000;

enum class Which { kPrimary, kClipboard };

QStringList SelectionOption(Which which) {
  return which == Which::kPrimary ? QStringList{"--primary"} : QStringList{};
}

// Runs a wl-clipboard command; its output, or nothing when it failed.
QByteArray RunTool(const QString& program, const QStringList& arguments,
                   bool* succeeded = nullptr) {
  QProcess process;
  process.start(program, arguments);
  const bool finished = process.waitForFinished(5000);
  if (succeeded != nullptr) {
    *succeeded =
        finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  }
  return process.readAllStandardOutput();
}

// Whether the selection has an owner (it offers any type at all).
bool Owned(Which which) {
  bool owned = false;
  RunTool("wl-paste", SelectionOption(which) << "--list-types", &owned);
  return owned;
}

// The selection's text as wl-paste reads it.
QByteArray Paste(Which which) {
  return RunTool("wl-paste", SelectionOption(which) << "--no-newline"
                                                    << "--type"
                                                    << "text");
}

class WaylandSessionSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Which which : {Which::kPrimary, Which::kClipboard}) {
      RunTool("wl-copy", SelectionOption(which) << "--clear");
      ASSERT_TRUE(test_support::WaitUntil([&] { return !Owned(which); }, 5000ms));
    }
  }

  void TearDown() override {
    for (const std::unique_ptr<QProcess>& owner : owners_) {
      ::kill(static_cast<pid_t>(owner->processId()), SIGCONT);
      owner->kill();
      owner->waitForFinished(5000);
    }
  }

  // A wl-copy that holds `data` as `type` (its text types when empty) on the
  // selection until it is replaced.
  QProcess& Hold(Which which, const QByteArray& data, const QString& type = {}) {
    owners_.push_back(std::make_unique<QProcess>());
    QProcess& owner = *owners_.back();
    QStringList arguments = SelectionOption(which) << "--foreground";
    if (!type.isEmpty()) arguments << "--type" << type;
    owner.start("wl-copy", arguments);
    EXPECT_TRUE(owner.waitForStarted(5000));
    owner.write(data);
    while (owner.bytesToWrite() > 0 && owner.waitForBytesWritten(5000)) {
    }
    owner.closeWriteChannel();
    EXPECT_TRUE(test_support::WaitUntil([&] { return Owned(which); }, 5000ms));
    return owner;
  }

  WaylandSessionSelection selection_;
  std::vector<std::unique_ptr<QProcess>> owners_;
};

TEST_F(WaylandSessionSelectionTest, ReadsTheHighlightAndChangesNoSelection) {
  QProcess& highlight = Hold(Which::kPrimary, "highlighted words");
  QProcess& clipboard = Hold(Which::kClipboard, "copied words");

  const SessionSelectionText read = selection_.Read(kBound);

  EXPECT_EQ(read.outcome, Outcome::kRead);
  EXPECT_EQ(read.text, "highlighted words");
  // wl-copy ends when its selection is taken from it.
  EXPECT_EQ(highlight.state(), QProcess::Running);
  EXPECT_EQ(clipboard.state(), QProcess::Running);
  EXPECT_EQ(Paste(Which::kPrimary), "highlighted words");
  EXPECT_EQ(Paste(Which::kClipboard), "copied words");
}

// What each selection holds, and what is read.
struct HeldCase {
  const char* name;
  QByteArray primary;  // null: nothing highlighted
  QString primary_type;
  QByteArray clipboard;  // null: empty clipboard
  Outcome outcome;
  QString text;
};

void PrintTo(const HeldCase& held, std::ostream* out) { *out << held.name; }

class WaylandHeldSelectionTest : public WaylandSessionSelectionTest,
                                 public ::testing::WithParamInterface<HeldCase> {};

TEST_P(WaylandHeldSelectionTest, ReadsTheRightText) {
  const HeldCase& held = GetParam();
  if (!held.primary.isNull()) Hold(Which::kPrimary, held.primary, held.primary_type);
  if (!held.clipboard.isNull()) Hold(Which::kClipboard, held.clipboard);

  const SessionSelectionText read = selection_.Read(kBound);

  EXPECT_EQ(read.outcome, held.outcome);
  EXPECT_EQ(read.text.size(), held.text.size());
  EXPECT_TRUE(read.text == held.text) << read.text.left(80).toStdString();
}

const QByteArray kMegabyte = QByteArray("0123456789abcdef").repeated(64 * 1024);

INSTANTIATE_TEST_SUITE_P(
    Cases, WaylandHeldSelectionTest,
    ::testing::Values(
        HeldCase{"Unicode",
                 "Grüße, ½ € — 日本語",
                 {},
                 "clip",
                 Outcome::kRead,
                 QString::fromUtf8("Grüße, ½ € — 日本語")},
        HeldCase{"Megabyte", kMegabyte, {}, {}, Outcome::kRead, QString::fromLatin1(kMegabyte)},
        HeldCase{"NoHighlightReadsClipboard", {}, {}, "clip", Outcome::kRead, "clip"},
        HeldCase{"EmptyHighlightReadsClipboard", "", {}, "clip", Outcome::kRead, "clip"},
        HeldCase{"PictureHighlightReadsClipboard", "\x89PNG\r\n", "image/png", "clip",
                 Outcome::kRead, "clip"},
        HeldCase{
            "TextEndsAtZero", QByteArray("before\0after", 12), {}, {}, Outcome::kRead, "before"},
        HeldCase{"Nothing", {}, {}, {}, Outcome::kNothingSelected, {}}),
    [](const ::testing::TestParamInfo<HeldCase>& info) { return std::string(info.param.name); });

TEST_F(WaylandSessionSelectionTest, AnOwnerThatNeverWritesEndsAtTheBound) {
  QProcess& owner = Hold(Which::kPrimary, "late words");
  ASSERT_EQ(::kill(static_cast<pid_t>(owner.processId()), SIGSTOP), 0);

  // Only the bound ends this read (a read without one would hang here).
  const SessionSelectionText read = selection_.Read(300);

  EXPECT_EQ(read.outcome, Outcome::kNoAnswer);
  EXPECT_TRUE(read.text.isEmpty());

  // Nothing of the unanswered read is left over for the next one.
  ::kill(static_cast<pid_t>(owner.processId()), SIGCONT);
  const SessionSelectionText again = selection_.Read(kBound);
  EXPECT_EQ(again.outcome, Outcome::kRead);
  EXPECT_EQ(again.text, "late words");
}

// The compositors without data-control: none at all, and weston (which,
// as GNOME's, offers none).
class WaylandCompositorTest : public ::testing::Test {
 protected:
  void TearDown() override {
    qputenv("WAYLAND_DISPLAY", session_display_);
    if (weston_.state() != QProcess::NotRunning) {
      weston_.kill();
      weston_.waitForFinished(5000);
    }
  }

  const QByteArray session_display_ = qgetenv("WAYLAND_DISPLAY");
  QProcess weston_;
};

TEST_F(WaylandCompositorTest, NoCompositorIsNoSession) {
  WaylandSessionSelection selection;
  qunsetenv("WAYLAND_DISPLAY");
  EXPECT_EQ(selection.Read(kBound).outcome, Outcome::kNoSession);
  qputenv("WAYLAND_DISPLAY", "voxmere-no-such-compositor");
  EXPECT_EQ(selection.Read(kBound).outcome, Outcome::kNoSession);
}

TEST_F(WaylandCompositorTest, ACompositorWithoutDataControlDoesNotOfferIt) {
  const QString socket = "voxmere-weston";
  weston_.start("weston", {"--no-config", "--backend=headless-backend.so", "--idle-time=0",
                           "--socket=" + socket});
  ASSERT_TRUE(weston_.waitForStarted(5000));
  const QString path = QDir(qEnvironmentVariable("XDG_RUNTIME_DIR")).filePath(socket);
  ASSERT_TRUE(test_support::WaitUntil([&] { return QFileInfo::exists(path); }, 10000ms));
  qputenv("WAYLAND_DISPLAY", socket.toUtf8());

  EXPECT_EQ(WaylandSessionSelection().Read(kBound).outcome, Outcome::kNotOffered);
}

}  // namespace
}  // namespace voxmere
