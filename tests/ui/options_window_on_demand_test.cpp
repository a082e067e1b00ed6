// SPDX-License-Identifier: GPL-3.0-or-later
// The tray program builds its options window on its first showing. Until
// then the model must see what the unshown window would have shown it: the
// same cfg.ini after a save, and the stored position and focus once shown.
#include <gtest/gtest.h>

#include <QPointer>
#include <QTabWidget>

#include "support/wait_until.h"

#include "ui/options_window_on_demand.h"
#include "ui_fixture.h"

namespace voxmere {
namespace {

struct OnDemandFixture {
  OnDemandFixture() {
    fakes.window = fakes.Build();
    shell = std::make_unique<OptionsWindowOnDemand>(*fakes.window, keys);
  }
  VoxmereApplication& application = UiApplication();
  AppFixture fakes;
  FakeKeyEventConversion keys;
  std::unique_ptr<OptionsWindowOnDemand> shell;
};

// What a run leaves: cfg.ini saved while hidden, then the window's position
// and focus when the tray entry shows it.
struct Outcome {
  QString saved;
  QPoint position;
  QString focus;
  int page = -1;
};

template <typename Fixture, typename ViewOf>
Outcome RunHidden(Fixture& fixture, const QString& cfg, ViewOf view_of) {
  fixture.fakes.WriteCfg(cfg);
  OptionsWindow& window = *fixture.fakes.window;
  window.Initialize();
  window.ShowAtStart();
  EXPECT_TRUE(window.SaveSettings());
  Outcome outcome;
  outcome.saved = fixture.fakes.ReadCfg();
  window.ConfigureSlotsEntryClicked();
  OptionsWindowView& view = view_of(fixture);
  outcome.position = view.pos();
  outcome.focus = view.ActiveControl();
  outcome.page = view.template findChild<QTabWidget*>()->currentIndex();
  return outcome;
}

TEST(OptionsWindowOnDemand, BehavesAsTheWindowBuiltAtStart) {
  const QString hidden = QStringLiteral("[General]\nFirstRun=0\nWelcomeDlg=1\n");
  const QString placed = hidden + QStringLiteral(
                                      "[Options_window]\nFormVersion=0\nFlags=0\nShowCmd=1\n"
                                      "PixelsPerInch=96\nNormPos(1280x1024)=30,40,441,345\n");
  const struct {
    const char* name;
    QString cfg;
  } cases[] = {
      {"nothing stored", hidden},
      {"a stored position", placed},
      {"a stored position at another scale",
       QString(placed).replace(QStringLiteral("=96"), QStringLiteral("=120"))},
      {"focus on a control of the first page",
       placed + QStringLiteral("ActiveControl=MinimizeToTray_CheckBox\n")},
      {"focus on a control of another page", placed + QStringLiteral("ActiveControl=Speed_Bar\n")},
      {"focus on no control there is", placed + QStringLiteral("ActiveControl=NoSuchControl\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UiFixture built;
    const Outcome expected =
        RunHidden(built, c.cfg, [](UiFixture& f) -> OptionsWindowView& { return *f.view; });
    OnDemandFixture on_demand;
    const Outcome got = RunHidden(on_demand, c.cfg, [&](OnDemandFixture& f) -> OptionsWindowView& {
      return f.shell->View();
    });
    EXPECT_EQ(got.saved, expected.saved);
    EXPECT_EQ(got.position, expected.position);
    EXPECT_EQ(got.focus, expected.focus);
    EXPECT_EQ(got.page, expected.page);
  }
}

TEST(OptionsWindowOnDemand, BuildsTheWindowOnlyWhenItShowsAndEndsWithoutIt) {
  OnDemandFixture f;
  f.fakes.WriteCfg(QStringLiteral("[General]\nFirstRun=0\nWelcomeDlg=1\n"));
  OptionsWindow& window = *f.fakes.window;
  window.Initialize();
  window.ShowAtStart();
  window.SaveSettings();
  EXPECT_FALSE(f.shell->Built());
  EXPECT_FALSE(f.shell->Visible());

  // Exit from the tray before the window was ever built.
  window.ExitEntryClicked();
  EXPECT_TRUE(f.shell->QuitRequested());
  EXPECT_FALSE(f.shell->Built());

  OnDemandFixture shown;
  shown.fakes.WriteCfg(QStringLiteral("[General]\nFirstRun=0\nWelcomeDlg=1\n"));
  shown.fakes.window->Initialize();
  shown.fakes.window->OptionsEntryClicked();
  ASSERT_TRUE(shown.shell->Built());
  EXPECT_TRUE(shown.shell->Visible());
  OptionsWindowView& first = shown.shell->View();
  first.MoveTo(QPoint(60, 70));
  ASSERT_TRUE(first.FocusControl(QStringLiteral("MinimizeToTray_CheckBox")));
  const WindowPlacement placed = first.Placement();

  // Hidden, the window goes; the model still sees where it was.
  QPointer<OptionsWindowView> gone = &first;
  shown.fakes.window->HideMainWindow();
  EXPECT_FALSE(shown.shell->Visible());
  EXPECT_FALSE(shown.shell->Built());
  EXPECT_TRUE(test_support::WaitUntil([&] { return gone.isNull(); }, std::chrono::seconds(2)));
  EXPECT_EQ(shown.shell->Placement().left, placed.left);
  EXPECT_EQ(shown.shell->Placement().bottom, placed.bottom);
  EXPECT_EQ(shown.shell->ActiveControl(), QStringLiteral("MinimizeToTray_CheckBox"));

  // Shown again: a new window in the same place, with the same focus.
  shown.fakes.window->OptionsEntryClicked();
  EXPECT_EQ(shown.shell->View().pos(), QPoint(60, 70));
  EXPECT_EQ(shown.shell->ActiveControl(), QStringLiteral("MinimizeToTray_CheckBox"));
}

TEST(OptionsWindowOnDemand, ShownAgainOnAPageBuiltLateTheFocusReturns) {
  OnDemandFixture f;
  f.fakes.WriteCfg(QStringLiteral("[General]\nFirstRun=0\nWelcomeDlg=1\n"));
  OptionsWindow& window = *f.fakes.window;
  window.Initialize();
  window.ConfigureSlotsEntryClicked();
  ASSERT_TRUE(f.shell->View().FocusControl(QStringLiteral("SlotsList")));
  window.HideMainWindow();
  window.ConfigureSlotsEntryClicked();
  ASSERT_TRUE(f.shell->Built());
  EXPECT_EQ(f.shell->View().ActiveControl(), QStringLiteral("SlotsList"));
}

}  // namespace
}  // namespace voxmere
