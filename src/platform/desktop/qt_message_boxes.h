// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/message_boxes.h"

namespace voxmere {

// Message boxes as QMessageBox dialogs, and the X bell (what the warning
// sound falls back to). Needs a QApplication.
class QtMessageBoxes : public MessageBoxes, public Beeper {
 public:
  // `application_title` titles the plain message box.
  explicit QtMessageBoxes(QString application_title = QStringLiteral("Voxmere!"));

  Answer Show(Kind kind, const QString& text, Buttons buttons, QObject* parent = nullptr) override;
  void Beep() override;

 private:
  QString application_title_;
};

// The title a box of `kind` carries.
QString MessageBoxTitle(MessageBoxes::Kind kind, const QString& application_title);

// The Windows program's texts break lines with "\n\r", "\r\n" or a lone "\r";
// each becomes one "\n".
QString MessageBoxText(const QString& text);

}  // namespace voxmere
