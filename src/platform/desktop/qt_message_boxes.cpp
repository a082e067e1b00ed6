// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <utility>

namespace voxmere {
namespace {

QMessageBox::Icon IconOf(MessageBoxes::Kind kind) {
  switch (kind) {
    case MessageBoxes::Kind::kWarning:
      return QMessageBox::Warning;
    case MessageBoxes::Kind::kInformation:
      return QMessageBox::Information;
    case MessageBoxes::Kind::kConfirmation:
      return QMessageBox::Question;
    case MessageBoxes::Kind::kError:
      return QMessageBox::Critical;
    case MessageBoxes::Kind::kPlain:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QString MessageBoxTitle(MessageBoxes::Kind kind, const QString& application_title) {
  switch (kind) {
    case MessageBoxes::Kind::kWarning:
      return QStringLiteral("Warning");
    case MessageBoxes::Kind::kInformation:
      return QStringLiteral("Information");
    case MessageBoxes::Kind::kConfirmation:
      return QStringLiteral("Confirm");
    case MessageBoxes::Kind::kError:
      return QStringLiteral("Error");
    case MessageBoxes::Kind::kPlain:
      break;
  }
  return application_title;
}

QString MessageBoxText(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    if (ch != QLatin1Char('\n') && ch != QLatin1Char('\r')) {
      result += ch;
      continue;
    }
    result += QLatin1Char('\n');
    // A pair of unlike line-end characters is one break.
    const QChar other = ch == QLatin1Char('\n') ? QLatin1Char('\r') : QLatin1Char('\n');
    if (i + 1 < text.size() && text.at(i + 1) == other) ++i;
  }
  return result;
}

QtMessageBoxes::QtMessageBoxes(QString application_title)
    : application_title_(std::move(application_title)) {}

MessageBoxes::Answer QtMessageBoxes::Show(Kind kind, const QString& text, Buttons buttons,
                                          QObject* parent) {
  QPointer<QMessageBox> box = new QMessageBox(qobject_cast<QWidget*>(parent));
  box->setWindowTitle(MessageBoxTitle(kind, application_title_));
  box->setIcon(IconOf(kind));
  // Texts carry file names and error messages: never read them as markup.
  box->setTextFormat(Qt::PlainText);
  box->setText(MessageBoxText(text));
  if (buttons == Buttons::kYesNo) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
  }
  box->exec();
  // The parent may have been destroyed while the box ran, taking the box.
  if (!box) return buttons == Buttons::kYesNo ? Answer::kNo : Answer::kOk;
  const QMessageBox::StandardButton clicked = box->standardButton(box->clickedButton());
  delete box;
  if (buttons == Buttons::kOk) return Answer::kOk;
  return clicked == QMessageBox::Yes ? Answer::kYes : Answer::kNo;
}

void QtMessageBoxes::Beep() { QApplication::beep(); }

}  // namespace voxmere
