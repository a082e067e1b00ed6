// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "platform/message_boxes.h"
#include "pronunciation/pronunciation_page.h"
#include "pronunciation/word_editor.h"

namespace voxmere {

// The Pronunciation page's buttons "&Add", "&Edit", "&Delete", "&Test" and
// the table's double click. Every change of the table is saved at once.
class PronunciationPageActions : public QObject {
  Q_OBJECT

 public:
  PronunciationPageActions(PronunciationPage& page, WordEditor& editor, QString words_path,
                           MessageBoxes& messages, DefaultVoiceSpeech speak,
                           QObject* parent = nullptr);

  // The editor in add mode; afterwards the last row is selected, however the
  // editor closed.
  void AddClicked();
  // The selected row (the first when none is) in the editor; afterwards that
  // row is selected again. An empty table only takes the focus.
  void EditClicked();
  void TableDoubleClicked() { EditClicked(); }
  // After the question, whatever the answer, the row above the selected one
  // is selected. Deleting the last entry deletes words.ini.
  void DeleteClicked();
  // Speaks the selected row's pronunciation with the default voice.
  void TestClicked();

 private:
  PronunciationPage& page_;
  WordEditor& editor_;
  QString words_path_;
  MessageBoxes& messages_;
  DefaultVoiceSpeech speak_;
};

}  // namespace voxmere
