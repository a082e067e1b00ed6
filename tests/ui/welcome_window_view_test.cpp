// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/welcome_window_view.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/welcome_window.h"
#include "ui/about_page_view.h"
#include "ui_fixture.h"

namespace voxmere {
namespace {

// The options window started as at a first run (which asks for the welcome),
// and the welcome window on its real view.
struct WelcomeFixture {
  WelcomeFixture() {
    ui.Window().Initialize();
    welcome = std::make_unique<WelcomeWindow>(ui.Window(), [this](WelcomeWindow& model) {
      auto made = std::make_unique<WelcomeWindowView>(model, *ui.view);
      view = made.get();
      return made;
    });
  }
  ~WelcomeFixture() { welcome.reset(); }

  // Runs Create; `act` runs once the window shows. A window the action does
  // not close is closed after a while, and the test fails.
  bool CreateAndThen(const std::function<void(WelcomeWindowView&)>& act) {
    QTimer::singleShot(0, [this, act] {
      if (view != nullptr) act(*view);
    });
    bool timed_out = false;
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [this, &timed_out] {
      timed_out = true;
      welcome->CloseIfVisible();
    });
    safety.start(5000);
    const bool shown = welcome->Create();
    view = nullptr;
    EXPECT_FALSE(timed_out) << "the window stayed open";
    return shown;
  }

  UiFixture ui;
  std::unique_ptr<WelcomeWindow> welcome;
  WelcomeWindowView* view = nullptr;
};

TEST(WelcomeWindowView, GradientsTextsAndPlace) {
  WelcomeFixture f;
  WelcomeWindowView view(*f.welcome, *f.ui.view);
  EXPECT_EQ(view.size(), QSize(328, 187));
  EXPECT_TRUE(view.windowFlags() & Qt::FramelessWindowHint);
  // Centred on the options window, which has not been shown yet.
  EXPECT_LE((view.geometry().center() - f.ui.view->frameGeometry().center()).manhattanLength(), 1);

  const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QColor white(255, 255, 255), blue(49, 106, 197), light_blue(64, 159, 255);
  struct Point {
    int x, y;
    QColor colour;
  };
  const Point points[] = {
      // Top strip: white, blue in the middle, white again.
      {0, 4, white},
      {164, 4, blue},
      {327, 4, white},
      // Body: blue to light blue, left of and right of the texts.
      {1, 100, blue},
      {326, 100, light_blue},
      // Lower strip: light blue to white.
      {1, 165, light_blue},
      {327, 165, white},
      // Bottom strip: blue, white in the middle, blue again.
      {0, 183, blue},
      {164, 183, white},
      {327, 183, blue},
  };
  for (const Point& point : points) {
    SCOPED_TRACE(testing::Message() << point.x << "," << point.y);
    const QColor seen = image.pixelColor(point.x, point.y);
    EXPECT_LE(std::abs(seen.red() - point.colour.red()), 8);
    EXPECT_LE(std::abs(seen.green() - point.colour.green()), 8);
    EXPECT_LE(std::abs(seen.blue() - point.colour.blue()), 8);
  }

  const auto* paragraph = view.findChild<QLabel*>(QStringLiteral("Welcome_Text"));
  ASSERT_NE(paragraph, nullptr);
  EXPECT_EQ(paragraph->text(), WelcomeWindow::Paragraph());
  EXPECT_EQ(paragraph->geometry(), QRect(10, 48, 311, 97));
  // The whole paragraph fits its box in the font that stands in for Arial.
  EXPECT_LE(paragraph->heightForWidth(311), 97);
  auto* link = view.findChild<LinkLabel*>(QStringLiteral("HyperLabel2"));
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->pos(), QPoint(239, 162));
  EXPECT_TRUE(link->font().bold());
  EXPECT_FALSE(link->font().underline());
}

TEST(WelcomeWindowView, ContinueAndEscCloseItAndTheOptionsWindowFollows) {
  const std::pair<const char*, std::function<void(WelcomeWindowView&)>> closers[] = {
      {"Continue",
       [](WelcomeWindowView& view) {
         QTest::mouseClick(view.findChild<LinkLabel*>(QStringLiteral("HyperLabel2")),
                           Qt::LeftButton);
       }},
      {"Esc", [](WelcomeWindowView& view) { QTest::keyClick(&view, Qt::Key_Escape); }},
  };
  for (const auto& [name, close] : closers) {
    SCOPED_TRACE(name);
    WelcomeFixture f;
    bool was_visible = false;
    EXPECT_TRUE(f.CreateAndThen([&](WelcomeWindowView& view) {
      was_visible = view.isVisible();
      close(view);
    }));
    EXPECT_TRUE(was_visible);
    EXPECT_FALSE(f.welcome->Visible());
    EXPECT_TRUE(f.ui.view->isVisible());
    EXPECT_EQ(f.ui.Window().pages.ActivePageIndex(), OptionsWindow::kGeneral);
  }
}

TEST(WelcomeWindowView, DraggingTheBackgroundMovesItAndEdgesSnap) {
  WelcomeFixture f;
  QPoint moved_by;
  QPoint text_moved_by;
  f.CreateAndThen([&](WelcomeWindowView& view) {
    // Without a window manager to ask, the window follows the mouse itself.
    const auto drag = [&view](QWidget& target, QPoint from, QPoint by) {
      const QPoint start = view.pos();
      const QPoint global = target.mapToGlobal(from);
      QMouseEvent press(QEvent::MouseButtonPress, from, global, Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QCoreApplication::sendEvent(&target, &press);
      QMouseEvent move(QEvent::MouseMove, from + by, global + by, Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
      QCoreApplication::sendEvent(&target, &move);
      QMouseEvent release(QEvent::MouseButtonRelease, from + by, global + by, Qt::LeftButton,
                          Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&target, &release);
      return view.pos() - start;
    };
    moved_by = drag(view, QPoint(2, 100), QPoint(7, 5));
    text_moved_by =
        drag(*view.findChild<QLabel*>(QStringLiteral("Welcome_Text")), QPoint(5, 5), QPoint(7, 5));
    view.Close();
  });
  EXPECT_EQ(moved_by, QPoint(7, 5));
  EXPECT_EQ(text_moved_by, QPoint(0, 0));
}

TEST(WelcomeWindowView, SnapsEachEdgeWithinTwentyPixels) {
  const QRect area(0, 0, 1024, 738);  // available geometry
  struct Case {
    QPoint top_left;
    QPoint snapped;
  };
  const Case cases[] = {
      {{300, 300}, {300, 300}},  // far from every edge
      {{20, 300}, {0, 300}},     // left, at the limit
      {{21, 300}, {21, 300}},    // just beyond it
      {{-15, -20}, {0, 0}},      // partly off the screen
      // Right and bottom edges: 1024 - 328 = 696, 738 - 187 = 551.
      {{680, 540}, {696, 551}},
      {{675, 530}, {675, 530}},
      {{710, 560}, {696, 551}},
  };
  for (const Case& c : cases) {
    const QRect frame(c.top_left, QSize(328, 187));
    EXPECT_EQ(SnapToEdges(frame, area, WelcomeWindowView::kSnapDistance), c.snapped)
        << c.top_left.x() << "," << c.top_left.y();
  }
}

}  // namespace
}  // namespace voxmere
