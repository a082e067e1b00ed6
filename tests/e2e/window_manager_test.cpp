// SPDX-License-Identifier: GPL-3.0-or-later
// Under a window manager (run with the "wm" service): what it lets the user
// do with the program's windows, and who gets the focus. Skipped without one.
#include <QStringList>

#include "e2e_scenario.h"

namespace voxmere::e2e {
namespace {

// The value of a window's property as xprop prints it after " = ";
// empty when the window does not have it.
QString Property(const QString& window, const QString& name) {
  const QString printed = QString::fromUtf8(Run("xprop", {"-id", window, name}).output);
  const qsizetype equals = printed.indexOf(" = ");
  return equals < 0 ? QString() : printed.mid(equals + 3).trimmed();
}

// The window that has the keyboard focus, and the one the window manager
// calls active.
QString FocusedWindow() {
  return QString::fromLatin1(Run("xdotool", {"getwindowfocus"}).output).trimmed();
}
QString ActiveWindow() {
  return QString::fromLatin1(Run("xdotool", {"getactivewindow"}).output).trimmed();
}

// Whether the window manager stacks `upper` above `lower` (both among its
// managed windows).
bool StackedAbove(const QString& upper, const QString& lower) {
  const QByteArray printed = Run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}).output;
  QStringList bottom_to_top;
  for (const QByteArray& id : printed.mid(printed.indexOf('#') + 1).split(',')) {
    bottom_to_top << QString::number(id.trimmed().toULongLong(nullptr, 16));
  }
  const qsizetype upper_at = bottom_to_top.indexOf(upper), lower_at = bottom_to_top.indexOf(lower);
  return upper_at >= 0 && lower_at >= 0 && upper_at > lower_at;
}

class WindowManagerTest : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (e2e::Run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).output.contains("window id"))
      return;
    GTEST_SKIP() << "no window manager runs";
  }

  // The window's allowed actions, without the "_NET_WM_ACTION_" prefix.
  static QStringList Actions(const WindowInfo& window) {
    QStringList actions = Property(window.id, "_NET_WM_ALLOWED_ACTIONS").split(", ");
    for (QString& action : actions) action.remove("_NET_WM_ACTION_");
    return actions;
  }

  // Checks that the window can be closed, and minimized exactly when
  // `minimize` (the options window; a dialog is kept above the window that
  // owns it instead), but neither maximized nor resized: in what the window
  // manager allows (_NET_WM_ALLOWED_ACTIONS; openbox lets every dialog
  // minimize with its owner, so only the allowed minimize is checked) and in
  // the buttons the window asks for (_MOTIF_WM_HINTS: flags, functions,
  // decorations). A double click on its title bar, openbox's binding for
  // maximize, leaves it as it was.
  void ExpectFixed(const WindowInfo& window, bool minimize) {
    SCOPED_TRACE(window.name.toStdString());
    const QStringList actions = Actions(window);
    EXPECT_TRUE(actions.contains("CLOSE")) << actions.join(' ').toStdString();
    if (minimize) {
      EXPECT_TRUE(actions.contains("MINIMIZE")) << actions.join(' ').toStdString();
    }
    for (const char* refused : {"MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE"}) {
      EXPECT_FALSE(actions.contains(refused))
          << refused << " in " << actions.join(' ').toStdString();
    }
    EXPECT_EQ(
        e2e::Run("xprop", {"-id", window.id, "WM_TRANSIENT_FOR"}).output.contains("window id"),
        !minimize);
    const QStringList motif = Property(window.id, "_MOTIF_WM_HINTS").split(", ");
    ASSERT_GE(motif.size(), 3) << "no _MOTIF_WM_HINTS";
    const uint functions = motif[1].toUInt(nullptr, 16), decorations = motif[2].toUInt(nullptr, 16);
    constexpr uint kFunctionAll = 0x1, kFunctionMinimize = 0x8, kFunctionMaximize = 0x10,
                   kFunctionClose = 0x20, kDecorationMinimize = 0x20, kDecorationMaximize = 0x40;
    EXPECT_EQ(functions & (kFunctionAll | kFunctionMinimize | kFunctionMaximize | kFunctionClose),
              kFunctionClose | (minimize ? kFunctionMinimize : 0))
        << "functions " << motif[1].toStdString();
    EXPECT_EQ(decorations & (kDecorationMinimize | kDecorationMaximize),
              minimize ? kDecorationMinimize : 0)
        << "decorations " << motif[2].toStdString();

    // The frame's top (of left, right, top, bottom) holds the title bar.
    const QStringList extents = Property(window.id, "_NET_FRAME_EXTENTS").split(", ");
    ASSERT_EQ(extents.size(), 4) << "the window has no frame";
    const int title_middle = window.geometry.top() - extents[2].toInt() / 2;
    ASSERT_TRUE(
        Xdo({"mousemove", QString::number(window.geometry.center().x()),
             QString::number(title_middle), "click", "--repeat", "2", "--delay", "80", "1"}));
    Pause(500);
    const std::optional<WindowInfo> after = DescribeWindow(window.id);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->geometry, window.geometry);
    EXPECT_FALSE(Property(window.id, "_NET_WM_STATE").contains("MAXIMIZED"));
  }

  std::optional<WindowInfo> Shown(const QString& name) {
    std::optional<WindowInfo> window;
    WaitFor([&] { return bool(window = VisibleWindowNamed(program_->processId(), name)); });
    return window;
  }

  bool Gone(const QString& name) {
    return WaitFor([&] { return !VisibleWindowNamed(program_->processId(), name); });
  }
};

TEST_F(WindowManagerTest, TheOptionsWindowMinimizesAndTheDialogsOnlyClose) {
  // Two slots: the second row, reached with Down, is selected.
  QByteArray slots_ini;
  for (const char* slot : {"0", "1"}) {
    slots_ini += QByteArray("[Slot_") + slot +
                 "]\r\nVoice=English (America)\r\nHotKey=0\r\nSpeed=100\r\nPitch=50\r\n"
                 "Volume=100\r\nSAPIVersion=4\r\n";
  }
  copy_.WriteSettingsFile("slots.ini", slots_ini);
  ASSERT_NE(StartProgram(kWelcomed), nullptr);
  const std::optional<WindowInfo> options = copy_.WaitForOptionsWindow(*program_);
  ASSERT_TRUE(options) << Output().toStdString();
  ExpectFixed(*options, true);

  // The Pronunciation page (the fourth tab): its word editor.
  ASSERT_TRUE(Focus(options->id));
  for (int tab = 1; tab <= 3; ++tab) ASSERT_TRUE(PressKeys("ctrl+Tab"));
  ASSERT_TRUE(PressKeys("alt+a"));
  const std::optional<WindowInfo> word_editor = Shown("Pronunciation correction");
  ASSERT_TRUE(word_editor) << Output().toStdString();
  ExpectFixed(*word_editor, false);
  ASSERT_TRUE(Focus(word_editor->id) && PressKeys("Escape") && Gone("Pronunciation correction"));

  // The Voice slots page before it: its slot editor, then the question of
  // its Delete (the closed editor leaves the focus in the list of slots).
  ASSERT_TRUE(Focus(options->id) && PressKeys("ctrl+shift+Tab") && PressKeys("alt+a"));
  const std::optional<WindowInfo> slot_editor = Shown("Add voice slot");
  ASSERT_TRUE(slot_editor) << Output().toStdString();
  ExpectFixed(*slot_editor, false);
  ASSERT_TRUE(Focus(slot_editor->id) && PressKeys("Escape") && Gone("Add voice slot"));
  ASSERT_TRUE(Focus(options->id) && PressKeys("Home") && PressKeys("Down") && PressKeys("Delete"));
  const std::optional<WindowInfo> question = Shown("Confirm");
  ASSERT_TRUE(question) << Output().toStdString();
  ExpectFixed(*question, false);
  ASSERT_TRUE(Focus(question->id) && PressKeys("n") && Gone("Confirm"));
}

TEST_F(WindowManagerTest, TheOptionsHotKeyTakesTheFocusFromAnotherApplication) {
  ASSERT_NE(StartProgram(), nullptr);
  const QString xterm = xterms_.Start("another application");
  ASSERT_FALSE(xterm.isEmpty());
  ASSERT_TRUE(Focus(xterm));
  ASSERT_EQ(ActiveWindow(), xterm);

  // Each way of showing the options window while the xterm has the focus
  // (and lies above it): the hot key with the window hidden, the hot key
  // with the window open, and a double click on the tray icon with the
  // window hidden.
  const std::optional<WindowInfo> icon = TrayIconOf(program_->processId());
  ASSERT_TRUE(icon);
  const QStringList double_click = QString("mousemove %1 %2 click --repeat 2 --delay 80 1")
                                       .arg(icon->geometry.center().x())
                                       .arg(icon->geometry.center().y())
                                       .split(' ');
  for (const char* how : {"hot key, hidden", "hot key, open", "tray, hidden"}) {
    SCOPED_TRACE(how);
    ASSERT_TRUE(QByteArray(how).startsWith("tray") ? Xdo(double_click) : PressKeys("ctrl+F11"));
    const std::optional<WindowInfo> options = copy_.WaitForOptionsWindow(*program_);
    ASSERT_TRUE(options) << Output().toStdString();
    EXPECT_TRUE(WaitFor([&] { return ActiveWindow() == options->id; }, 5000))
        << "active: " << ActiveWindow().toStdString() << ", options " << options->id.toStdString();
    EXPECT_TRUE(WaitFor([&] { return FocusedWindow() == options->id; }, 5000))
        << "focused: " << FocusedWindow().toStdString();
    EXPECT_TRUE(StackedAbove(options->id, xterm)) << "the options window stays below the xterm";
    if (QByteArray(how) == "hot key, open") {
      ASSERT_TRUE(PressKeys("Escape") && WaitFor([&] {
                    return !VisibleWindowNamed(program_->processId(), "Voxmere! Options");
                  }));
    }
    ASSERT_TRUE(Focus(xterm));
    ASSERT_TRUE(WaitFor([&] { return !StackedAbove(options->id, xterm); }, 5000));
  }
}

}  // namespace
}  // namespace voxmere::e2e
