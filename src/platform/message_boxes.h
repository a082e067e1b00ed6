// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace voxmere {

// Modal message boxes in the kinds the Windows program shows. Each kind fixes
// the title and the icon; the text is shown as plain text, never as markup.
class MessageBoxes {
 public:
  enum class Kind {
    kWarning,       // title "Warning", warning icon; OK, or Yes and No
    kInformation,   // title "Information", information icon; OK
    kConfirmation,  // title "Confirm", question icon; Yes and No
    kError,         // title "Error", error icon; OK (the no-engines message)
    kPlain,         // the application's title, no icon; OK
  };
  enum class Buttons { kOk, kYesNo };
  enum class Answer { kOk, kYes, kNo };

  virtual ~MessageBoxes() = default;

  // Shows the box and waits for the answer. Closing a Yes/No box any other way
  // (Esc, the close box) answers No; an OK box answers OK. `parent` is the
  // window the box belongs to (a widget), or null for none.
  virtual Answer Show(Kind kind, const QString& text, Buttons buttons,
                      QObject* parent = nullptr) = 0;

  // The shapes the program uses. A question goes on only on Yes.
  void Warning(const QString& text, QObject* parent = nullptr) {
    Show(Kind::kWarning, text, Buttons::kOk, parent);
  }
  bool WarningYesNo(const QString& text, QObject* parent = nullptr) {
    return Show(Kind::kWarning, text, Buttons::kYesNo, parent) == Answer::kYes;
  }
  void Information(const QString& text, QObject* parent = nullptr) {
    Show(Kind::kInformation, text, Buttons::kOk, parent);
  }
  bool Confirm(const QString& text, QObject* parent = nullptr) {
    return Show(Kind::kConfirmation, text, Buttons::kYesNo, parent) == Answer::kYes;
  }
  void Error(const QString& text, QObject* parent = nullptr) {
    Show(Kind::kError, text, Buttons::kOk, parent);
  }
  void Plain(const QString& text, QObject* parent = nullptr) {
    Show(Kind::kPlain, text, Buttons::kOk, parent);
  }
};

// The system's warning sound: what a failed reading request ends with.
class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep() = 0;
};

}  // namespace voxmere
