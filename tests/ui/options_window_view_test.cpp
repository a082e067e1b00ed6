// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <vector>

#include "ui/about_page_view.h"
#include "ui_fixture.h"

namespace voxmere {
namespace {

TEST(OptionsWindowView, NamedControlsCaptionAndPages) {
  UiFixture ui;
  ui.Start();
  // Each page is built once it was selected.
  for (int page = OptionsWindow::kAbout; page >= OptionsWindow::kGeneral; --page) {
    ui.Window().pages.SetActivePageIndex(page);
  }
  const QStringList names = {"Reading_HotKey",
                             "Options_HotKey",
                             "Stop_HotKey",
                             "LoadAtStartup_CheckBox",
                             "MinimizeToTray_CheckBox",
                             "PrimarySelection_CheckBox",
                             "VoicesList",
                             "Speed_Bar",
                             "Pitch_Bar",
                             "Volume_Bar",
                             "Edit1",
                             "Edit2",
                             "Edit3",
                             "Edit4",
                             "Test_Button",
                             "IgnoreCharacters_CheckBox",
                             "Ignored_Characters",
                             "WordsCorr_CheckBox",
                             "Words_Table",
                             "SlotsList",
                             "Pages",
                             "BitBtn1",
                             "BitBtn2",
                             "HyperLabel1",
                             "HyperLabel2",
                             "HyperLabel3"};
  for (const QString& name : names) {
    EXPECT_NE(ui.Find<QWidget>(name), nullptr) << name.toStdString();
  }
  EXPECT_EQ(ui.Find<QLineEdit>("Stop_HotKey")->toolTip(),
            QStringLiteral("Press the desired key or combination of keys"));
  EXPECT_EQ(ui.Find<QLineEdit>("Ignored_Characters")->toolTip(),
            QStringLiteral("This characters will be ignored when reading"));
  EXPECT_EQ(ui.view->windowTitle(), QStringLiteral("Voxmere! Options"));
  EXPECT_EQ(ui.view->size(), QSize(405, 302));
  EXPECT_FALSE(ui.view->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(ui.view->windowFlags() & Qt::WindowMinimizeButtonHint);

  auto* pages = ui.Find<QTabWidget>("Pages");
  ASSERT_EQ(pages->count(), 5);
  const QStringList captions = {"General", "Default voice", "Voice slots", "Pronunciation",
                                "About"};
  for (int page = 0; page < 5; ++page) EXPECT_EQ(pages->tabText(page), captions[page]);
  EXPECT_EQ(ui.Find<QPushButton>("BitBtn1")->text(), QStringLiteral("&OK"));
  EXPECT_EQ(ui.Find<QPushButton>("BitBtn2")->text(), QStringLiteral("&Cancel"));
  EXPECT_EQ(ui.Find<QPushButton>("BitBtn3")->text(), QStringLiteral("&Help"));
  // The Voice slots and Pronunciation pages' buttons, left to right.
  const QStringList page_buttons = {"&Add", "&Edit", "&Delete", "&Clear all",
                                    "&Add", "&Edit", "&Delete", "&Test"};
  for (int n = 0; n < page_buttons.size(); ++n) {
    const auto* button = ui.Find<QPushButton>(QStringLiteral("BitBtn%1").arg(n + 4));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), page_buttons[n]);
  }

  // The page control both ways.
  pages->setCurrentIndex(3);
  EXPECT_EQ(ui.Window().pages.ActivePageIndex(), 3);
  ui.Window().pages.SetActivePageIndex(1);
  EXPECT_EQ(pages->currentIndex(), 1);

  // The focus as ActiveControl names it; a control on a hidden page cannot
  // take it.
  EXPECT_TRUE(ui.view->FocusControl(QStringLiteral("Speed_Bar")));
  EXPECT_EQ(ui.view->ActiveControl(), QStringLiteral("Speed_Bar"));
  EXPECT_FALSE(ui.view->FocusControl(QStringLiteral("Words_Table")));
  EXPECT_FALSE(ui.view->FocusControl(QStringLiteral("NoSuchControl")));
  EXPECT_EQ(ui.view->ActiveControl(), QStringLiteral("Speed_Bar"));
  // The tab bar has no name: its page control is named.
  pages->tabBar()->setFocus();
  EXPECT_EQ(ui.view->ActiveControl(), QStringLiteral("Pages"));
}

TEST(OptionsWindowView, ControlsFollowTheModelAndTheUser) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();

  auto* startup = ui.Find<QCheckBox>("LoadAtStartup_CheckBox");
  window.general.load_at_startup.SetChecked(true);
  EXPECT_TRUE(startup->isChecked());
  startup->click();
  EXPECT_FALSE(window.general.load_at_startup.Checked());

  // Pages built later show what the model holds by then.
  window.pronunciation.ignored_characters.SetText(QStringLiteral("#"));
  window.default_voice.speed_bar.SetRange(-10, 10);
  window.default_voice.speed_bar.SetPosition(2);
  window.pages.SetActivePageIndex(OptionsWindow::kPronunciation);
  window.pages.SetActivePageIndex(OptionsWindow::kDefaultVoice);
  EXPECT_EQ(ui.Find<QSlider>("Speed_Bar")->value(), 2);
  auto* characters = ui.Find<QLineEdit>("Ignored_Characters");
  EXPECT_EQ(characters->text(), QStringLiteral("#"));
  window.pronunciation.ignored_characters.SetText(QStringLiteral("#%"));
  EXPECT_EQ(characters->text(), QStringLiteral("#%"));
  characters->setText(QStringLiteral("#%&"));
  EXPECT_EQ(window.pronunciation.ignored_characters.Text(), QStringLiteral("#%&"));

  // A range change of the model moves the slider's range and position; a
  // user's move reaches the model and its number box.
  auto* speed = ui.Find<QSlider>("Speed_Bar");
  window.default_voice.speed_bar.SetRange(-10, 10);
  window.default_voice.speed_bar.SetPosition(4);
  EXPECT_EQ(speed->minimum(), -10);
  EXPECT_EQ(speed->maximum(), 10);
  EXPECT_EQ(speed->value(), 4);
  speed->setValue(-7);
  EXPECT_EQ(window.default_voice.speed_bar.Position(), -7);
  EXPECT_EQ(ui.Find<QLineEdit>("Edit1")->text(), window.default_voice.speed_box.Text());
  EXPECT_TRUE(ui.Find<QLineEdit>("Edit1")->isReadOnly());
  EXPECT_EQ(ui.Find<QLineEdit>("Edit1")->maxLength(), 3);
}

TEST(OptionsWindowView, HotKeyFieldTakesKeysNotText) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();
  ui.view->ShowInFront();
  ASSERT_TRUE(QTest::qWaitForWindowActive(ui.view.get()));
  auto* field = ui.Find<QLineEdit>("Reading_HotKey");
  EXPECT_EQ(field->text(), window.general.reading_key_field.Text());
  ui.keys.SetVirtualKey(Qt::Key_F11, 0x7A);
  ui.keys.SetVirtualKey(Qt::Key_Q, 0x51);
  ui.keys.SetVirtualKey(Qt::Key_O, 0x4F);

  QTest::keyClick(field, Qt::Key_F11, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(window.general.reading_key_field.Text(), QStringLiteral("Ctrl+Alt+F11"));
  EXPECT_EQ(field->text(), QStringLiteral("Ctrl+Alt+F11"));
  // A letter names its key; the character itself is never inserted.
  QTest::keyClick(field, Qt::Key_Q);
  EXPECT_EQ(field->text(), QStringLiteral("Q"));
  // Alt+O would press OK elsewhere; in the field it is a hot key.
  QTest::keyClick(field, Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(field->text(), QStringLiteral("Alt+O"));
  EXPECT_TRUE(ui.view->isVisible());
  // Pasted text is formatted by the model.
  field->setText(QStringLiteral("ctrl+a"));
  EXPECT_EQ(window.general.reading_key_field.Text(), QStringLiteral("Ctrl+A"));
  EXPECT_EQ(field->text(), QStringLiteral("Ctrl+A"));
  window.general.stop_key_field.SetText(QStringLiteral("Shift+F2"));
  EXPECT_EQ(ui.Find<QLineEdit>("Stop_HotKey")->text(), QStringLiteral("Shift+F2"));
  // The platform decides on the event's native data too.
  QKeyEvent native(QEvent::KeyPress, Qt::Key_F2, Qt::ShiftModifier, 68, 0xFFBF, 0);
  QCoreApplication::sendEvent(field, &native);
  EXPECT_EQ(ui.keys.asked.back(), (PressedKey{Qt::Key_F2, Qt::ShiftModifier, 68, 0xFFBF}));

  // Esc is the window's: Cancel hides the window into the tray, and the
  // field keeps its key.
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_EQ(field->text(), QStringLiteral("Ctrl+A"));
  EXPECT_FALSE(ui.view->isVisible());
}

TEST(OptionsWindowView, VoicesListClickAppliesTheVoiceEvenAfterAPageSwitch) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();
  window.pages.SetActivePageIndex(OptionsWindow::kDefaultVoice);
  ui.view->ShowInFront();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.view.get()));
  auto* list = ui.Find<QListView>("VoicesList");
  VoicesList& voices = window.default_voice.voices_list;
  ASSERT_EQ(voices.Count(), 4);
  ASSERT_EQ(list->model()->rowCount(), 4);

  // The program's selection shows in the list.
  voices.SetItemIndex(1);
  ASSERT_EQ(list->selectionModel()->selectedIndexes().size(), 1);
  EXPECT_EQ(list->selectionModel()->selectedIndexes().first().row(), 1);

  // Switching pages marks the list; the user's click on a SAPI 5 voice still
  // applies it, because the click is reported before the selection moves.
  window.pages.SetActivePageIndex(OptionsWindow::kGeneral);
  window.pages.SetActivePageIndex(OptionsWindow::kDefaultVoice);
  EXPECT_EQ(window.default_voice.VoicesListTag(), DefaultVoicePage::kPageSwitchMarker);
  const QRect third = list->visualRect(list->model()->index(2, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
  EXPECT_EQ(voices.ItemIndex(), 2);
  EXPECT_EQ(window.default_voice.ScaleMode(), PageScaleMode::kSapi5);
  EXPECT_EQ(ui.Find<QLineEdit>("Edit1")->text(), QStringLiteral("135"));
  EXPECT_EQ(ui.Find<QLineEdit>("Edit2")->text(), QStringLiteral("105"));
  EXPECT_EQ(ui.Find<QSlider>("Speed_Bar")->minimum(), -10);

  // The keyboard chooses too.
  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(voices.ItemIndex(), 1);
  EXPECT_EQ(window.default_voice.ScaleMode(), PageScaleMode::kSapi4);
}

TEST(OptionsWindowView, CloseAndMinimizeGoToTheModel) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();
  ui.view->ShowInFront();
  ASSERT_TRUE(window.general.minimize_to_tray.Checked());
  // The close box: settings saved, the one-time message, into the tray; the
  // program goes on.
  ui.view->close();
  EXPECT_FALSE(ui.view->isVisible());
  EXPECT_FALSE(ui.view->QuitRequested());
  ASSERT_FALSE(ui.fakes.messages.Boxes().empty());
  EXPECT_TRUE(ui.fakes.messages.Boxes().back().text.startsWith(
      QStringLiteral("Voxmere will now be minimized into the system tray.")));
  EXPECT_TRUE(ui.fakes.ReadCfg().contains(QStringLiteral("CloseMsg=1")));

  // The window's minimize box hides it into the tray as well.
  ui.view->ShowInFront();
  ASSERT_TRUE(ui.view->isVisible());
  ui.view->setWindowState(Qt::WindowMinimized);
  EXPECT_FALSE(ui.view->isVisible());

  // Without the tray option a close ends the program.
  ui.view->ShowInFront();
  window.general.minimize_to_tray.SetChecked(false);
  ui.view->close();
  EXPECT_TRUE(ui.view->QuitRequested());
}

TEST(OptionsWindowView, AboutLinksAreBoldAndOpenTheirAddresses) {
  UiFixture ui;
  ui.Start();
  ui.Window().pages.SetActivePageIndex(OptionsWindow::kAbout);
  auto* first = ui.Find<LinkLabel>("HyperLabel1");
  auto* third = ui.Find<LinkLabel>("HyperLabel3");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(third, nullptr);
  EXPECT_TRUE(first->font().bold());
  EXPECT_FALSE(first->font().underline());
  EXPECT_EQ(third->text(), QStringLiteral("Technical support"));
  ui.Window().pages.SetActivePageIndex(OptionsWindow::kAbout);
  ui.view->ShowInFront();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.view.get()));
  QTest::mouseClick(first, Qt::LeftButton);
  QTest::mouseClick(third, Qt::LeftButton);
  // From the keyboard too: each link takes the focus, Enter and Space open it,
  // other keys do not.
  auto* second = ui.Find<LinkLabel>("HyperLabel2");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(second->accessibleName(), second->text());
  QTest::keyClick(second, Qt::Key_Return);
  QTest::keyClick(first, Qt::Key_Space);
  QTest::keyClick(first, Qt::Key_A);
  QTest::keyClick(first, Qt::Key_Return, Qt::ControlModifier);
  // Built without addresses: the links open the help.
  EXPECT_TRUE(ui.fakes.links.opened.isEmpty());
  EXPECT_EQ(ui.fakes.help.topics,
            (std::vector<HelpTopic>{HelpTopic::kIntroduction, HelpTopic::kGettingHelp,
                                    HelpTopic::kIntroduction, HelpTopic::kIntroduction}));
}

TEST(OptionsWindowView, HelpButtonAndF1AskForThePageTopic) {
  UiFixture ui;
  ui.Start();
  ui.view->ShowInFront();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.view.get()));
  ui.Window().pages.SetActivePageIndex(OptionsWindow::kVoiceSlots);
  QTest::mouseClick(ui.Find<QPushButton>("BitBtn3"), Qt::LeftButton);
  ui.Window().pages.SetActivePageIndex(OptionsWindow::kGeneral);
  QTest::keyClick(ui.view.get(), Qt::Key_F1);
  EXPECT_EQ(ui.fakes.help.topics,
            (std::vector<HelpTopic>{HelpTopic::kVoiceSlots, HelpTopic::kConfiguringKeys}));
}

TEST(OptionsWindowView, GeneralPageControlsFitTheFixedWindowUnsqueezed) {
  UiFixture ui;
  ui.Start();
  ui.Window().pages.SetActivePageIndex(OptionsWindow::kGeneral);
  auto* page = ui.Find<QWidget>("General_Page");
  ASSERT_NE(page, nullptr);
  std::vector<QRect> taken;
  for (QWidget* control : page->findChildren<QWidget*>()) {
    if (qobject_cast<QCheckBox*>(control) == nullptr &&
        qobject_cast<QLineEdit*>(control) == nullptr)
      continue;
    const QRect area(control->mapTo(page, QPoint(0, 0)), control->size());
    const std::string name = control->objectName().toStdString();
    EXPECT_TRUE(control->isVisible()) << name;
    EXPECT_TRUE(page->rect().contains(area)) << name;
    EXPECT_GE(control->height(), control->sizeHint().height()) << name;
    if (qobject_cast<QCheckBox*>(control) != nullptr) {
      EXPECT_GE(control->width(), control->sizeHint().width()) << name;
    }
    for (const QRect& other : taken) EXPECT_FALSE(area.intersects(other)) << name;
    taken.push_back(area);
  }
  EXPECT_EQ(taken.size(), 6u);
}

TEST(OptionsWindowView, AboutPageRunsFromBlueToWhiteWithMirroredStrips) {
  UiFixture ui;
  ui.Start();
  ui.Window().pages.SetActivePageIndex(OptionsWindow::kAbout);
  auto* page = ui.Find<QWidget>("About_Page");
  ASSERT_NE(page, nullptr);
  const QImage image = page->grab().toImage();
  const int middle = page->width() / 2;
  const int bottom = page->height() - 1;
  const QColor blue(49, 106, 197);
  // Within a few steps of the gradient's ends: top, bottom, strips.
  const struct {
    QPoint where;
    QColor colour;
  } samples[] = {{{middle, 0}, blue}, {{middle, bottom}, Qt::white},
                 {{3, 0}, Qt::white}, {{page->width() - 4, 0}, Qt::white},
                 {{3, bottom}, blue}, {{page->width() - 4, bottom}, blue}};
  for (const auto& sample : samples) {
    const QColor seen = image.pixelColor(sample.where);
    EXPECT_LE(std::abs(seen.red() - sample.colour.red()) +
                  std::abs(seen.green() - sample.colour.green()) +
                  std::abs(seen.blue() - sample.colour.blue()),
              12)
        << sample.where.x() << "," << sample.where.y() << ": " << seen.name().toStdString();
  }
}

TEST(OptionsWindowView, PagesBuiltOnSelectionTakeTheFocusAndTheTabOrder) {
  UiFixture ui;
  OptionsWindow& window = ui.Start();
  ui.view->ShowInFront();
  ASSERT_TRUE(QTest::qWaitForWindowActive(ui.view.get()));
  // A control of a page not yet selected is not there to take the focus.
  EXPECT_FALSE(ui.view->FocusControl(QStringLiteral("Speed_Bar")));
  ui.Find<QWidget>("LoadAtStartup_CheckBox")->setFocus();
  const struct {
    const char* page;
    const char* control;
    const char* accessible_name;
  } pages[] = {
      {"DefaultVoice_Page", "Speed_Bar", "Speed of reading"},
      {"VoiceSlots_Page", "SlotsList", "Voice slots"},
      {"Pronunciation_Page", "Words_Table", "Pronunciation corrections"},
      {"About_Page", "HyperLabel1", nullptr},
  };
  auto* tabs = ui.Find<QTabWidget>("Pages")->tabBar();
  auto* ok = ui.Find<QWidget>("BitBtn1");
  for (const auto& p : pages) {
    SCOPED_TRACE(p.page);
    ASSERT_EQ(ui.Find<QWidget>(p.control), nullptr);
    // Ctrl+Tab from a control of the page before: the new page's first
    // control takes the focus.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    auto* page = ui.Find<QWidget>(p.page);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(window.pages.ActivePageIndex(), tabs->currentIndex());
    EXPECT_TRUE(page->isAncestorOf(QApplication::focusWidget()));
    auto* control = ui.Find<QWidget>(p.control);
    ASSERT_NE(control, nullptr);
    if (p.accessible_name != nullptr) {
      EXPECT_EQ(control->accessibleName(), QString::fromLatin1(p.accessible_name));
    }
    // The page's controls lie between the tabs and OK in the tab order.
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Tab);
    EXPECT_TRUE(page->isAncestorOf(QApplication::focusWidget()));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(page->isAncestorOf(QApplication::focusWidget()));
  }
}

}  // namespace
}  // namespace voxmere
