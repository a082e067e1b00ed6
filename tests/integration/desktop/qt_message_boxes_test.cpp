// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "desktop_test_environment.h"
#include "modal_box_watcher.h"

namespace voxmere {
namespace {

using Kind = MessageBoxes::Kind;
using Buttons = MessageBoxes::Buttons;
using Answer = MessageBoxes::Answer;

// What a box looked like when it came up.
struct Seen {
  QString title;
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
  QMessageBox::StandardButton escape_button = QMessageBox::NoButton;
  QWidget* parent = nullptr;
};

// Shows a box, records it, and closes it with `close`.
Answer ShowAndClose(QtMessageBoxes& boxes, Kind kind, const QString& text, Buttons buttons,
                    Seen* seen, const std::function<void(QMessageBox*)>& close,
                    QObject* parent = nullptr) {
  ModalBoxWatcher watcher([&](QMessageBox* box) {
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->format = box->textFormat();
    seen->icon = box->icon();
    seen->buttons = box->standardButtons();
    seen->default_button = box->standardButton(box->defaultButton());
    seen->escape_button = box->standardButton(box->escapeButton());
    seen->parent = box->parentWidget();
    close(box);
  });
  const Answer answer = boxes.Show(kind, text, buttons, parent);
  EXPECT_TRUE(watcher.Acted()) << "no modal box came up";
  return answer;
}

std::function<void(QMessageBox*)> Click(QMessageBox::StandardButton which) {
  return [which](QMessageBox* box) { box->button(which)->click(); };
}

std::function<void(QMessageBox*)> Press(Qt::Key key) {
  return [key](QMessageBox* box) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(box, &release);
  };
}

TEST(QtMessageBoxesTest, EachKindHasItsTitleIconAndButtons) {
  QtMessageBoxes boxes("Voxmere!");
  struct Case {
    Kind kind;
    Buttons buttons;
    const char* title;
    QMessageBox::Icon icon;
  };
  const Case cases[] = {
      {Kind::kWarning, Buttons::kOk, "Warning", QMessageBox::Warning},
      {Kind::kWarning, Buttons::kYesNo, "Warning", QMessageBox::Warning},
      {Kind::kInformation, Buttons::kOk, "Information", QMessageBox::Information},
      {Kind::kConfirmation, Buttons::kYesNo, "Confirm", QMessageBox::Question},
      {Kind::kError, Buttons::kOk, "Error", QMessageBox::Critical},
      {Kind::kPlain, Buttons::kOk, "Voxmere!", QMessageBox::NoIcon},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const bool yes_no = c.buttons == Buttons::kYesNo;
    Seen seen;
    const Answer answer =
        ShowAndClose(boxes, c.kind, "Are you sure to delete all voice slots?", c.buttons, &seen,
                     Click(yes_no ? QMessageBox::Yes : QMessageBox::Ok));
    EXPECT_EQ(answer, yes_no ? Answer::kYes : Answer::kOk);
    EXPECT_EQ(seen.title, c.title);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.text, "Are you sure to delete all voice slots?");
    if (yes_no) {
      EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
      EXPECT_EQ(seen.default_button, QMessageBox::Yes);
      EXPECT_EQ(seen.escape_button, QMessageBox::No);
    } else {
      EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
  }
  // Another application title titles the plain box.
  QtMessageBoxes other("Other title");
  Seen seen;
  ShowAndClose(other, Kind::kPlain, "x", Buttons::kOk, &seen, Click(QMessageBox::Ok));
  EXPECT_EQ(seen.title, "Other title");
}

TEST(QtMessageBoxesTest, TheAnswerIsTheButtonChosen) {
  QtMessageBoxes boxes;
  Seen seen;
  EXPECT_EQ(ShowAndClose(boxes, Kind::kConfirmation, "Delete?", Buttons::kYesNo, &seen,
                         Click(QMessageBox::No)),
            Answer::kNo);
  // Esc and the close box are a No; Enter takes the default, Yes.
  EXPECT_EQ(ShowAndClose(boxes, Kind::kConfirmation, "Delete?", Buttons::kYesNo, &seen,
                         Press(Qt::Key_Escape)),
            Answer::kNo);
  EXPECT_EQ(ShowAndClose(boxes, Kind::kWarning, "Clear?", Buttons::kYesNo, &seen,
                         [](QMessageBox* box) { box->close(); }),
            Answer::kNo);
  EXPECT_EQ(
      ShowAndClose(boxes, Kind::kWarning, "Clear?", Buttons::kYesNo, &seen, Press(Qt::Key_Return)),
      Answer::kYes);
  EXPECT_EQ(
      ShowAndClose(boxes, Kind::kInformation, "Done.", Buttons::kOk, &seen, Press(Qt::Key_Escape)),
      Answer::kOk);
  // The helpers: a question goes on only on Yes.
  ModalBoxWatcher yes(Click(QMessageBox::Yes));
  EXPECT_TRUE(boxes.Confirm("Delete?"));
  ModalBoxWatcher no(Click(QMessageBox::No));
  EXPECT_FALSE(boxes.WarningYesNo("Clear?"));
}

TEST(QtMessageBoxesTest, TextIsPlainWithItsLineBreaksAndTheBoxBelongsToItsParent) {
  QtMessageBoxes boxes;
  QWidget window;
  window.setWindowTitle("Voxmere! Options");
  window.show();

  Seen seen;
  ShowAndClose(boxes, Kind::kPlain,
               "Sorry, <b>no</b> speech engines & such.\n\rPlease, install one.\rThen retry.",
               Buttons::kOk, &seen, Click(QMessageBox::Ok), &window);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.text,
            "Sorry, <b>no</b> speech engines & such.\nPlease, install one.\nThen retry.");
  EXPECT_EQ(seen.parent, &window);

  // Something that is not a window parents nothing.
  QObject not_a_window;
  ShowAndClose(boxes, Kind::kPlain, "x", Buttons::kOk, &seen, Click(QMessageBox::Ok),
               &not_a_window);
  EXPECT_EQ(seen.parent, nullptr);

  // The parent goes away while its box is open (the program ends under it):
  // no answer was given, so a question counts as No.
  auto doomed = std::make_unique<QWidget>();
  doomed->show();
  EXPECT_EQ(ShowAndClose(
                boxes, Kind::kConfirmation, "Delete?", Buttons::kYesNo, &seen,
                [&doomed](QMessageBox*) { doomed.reset(); }, doomed.get()),
            Answer::kNo);

  // The warning beep neither blocks nor needs a window.
  boxes.Beep();
}

}  // namespace
}  // namespace voxmere
