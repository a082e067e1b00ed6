// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "controls/check_box.h"
#include "controls/menu_entry.h"
#include "controls/text_field.h"
#include "platform/help_viewer.h"
#include "platform/message_boxes.h"
#include "pronunciation/pronunciation_page.h"

namespace voxmere {

// The word editor's window as its model sees it.
class WordEditorShell {
 public:
  virtual ~WordEditorShell() = default;
  // Shows the dialog modally; returns once it has closed, however it closed.
  virtual void ShowModal() = 0;
  virtual void Close() = 0;
  // The window, as the parent of message boxes and help.
  virtual QObject* Window() = 0;
};

// Speaks a text with the default voice as it stands on the Default voice page.
using DefaultVoiceSpeech = std::function<void(const QString& text)>;

// The word editor "Pronunciation correction": one correction added to the
// pronunciation table or changed in it, saved to words.ini at once.
class WordEditor : public QObject {
  Q_OBJECT

 public:
  enum class Mode { kAdd, kEdit };

  static const QString& Caption();  // "Pronunciation correction"

  WordEditor(PronunciationPage& page, QString words_path, MessageBoxes& messages, HelpViewer& help,
             DefaultVoiceSpeech speak, QObject* parent = nullptr);

  // The real window; without one the editor opens and closes at once.
  void AttachShell(WordEditorShell* shell) { shell_ = shell; }

  TextField word_box{QStringLiteral("Edit1")};
  TextField pronunciation_box{QStringLiteral("Edit2")};
  CheckBox case_sensitive{QStringLiteral("CheckBox1"), QStringLiteral("&Case sensitive")};
  MenuEntry test_button{QStringLiteral("Button1"), QStringLiteral("&Test")};
  MenuEntry cancel_button{QStringLiteral("Cancel_Button"), QStringLiteral("&Cancel")};

  Mode CurrentMode() const { return mode_; }
  // The row being edited in edit mode.
  int EditedRow() const { return row_; }
  // "Add word" when adding, "Save changes" when editing.
  QString ActionCaption() const;

  // Empty boxes, unticked, add mode; shown modally.
  void OpenToAdd();
  // The row's texts, ticked only for the flag "Yes", edit mode; shown modally.
  void OpenToEdit(int row);

  // Handlers.
  void ActionClicked();
  void TestClicked();
  // Cancel, Esc and the close box.
  void CancelClicked();
  // F1 and the link "How to correct pronunciation of words".
  void HelpRequested();

 signals:
  // The editor was set up for an opening: views take caption, icon and the
  // action button's text afresh.
  void Opening(Mode mode);

 private:
  void Open(Mode mode, int row);
  // The reason the typed entry is refused, empty when it may be stored.
  QString Refusal(const PronunciationEntry& entry) const;
  QObject* Window() const { return shell_ != nullptr ? shell_->Window() : nullptr; }

  PronunciationPage& page_;
  QString words_path_;
  MessageBoxes& messages_;
  HelpViewer& help_;
  DefaultVoiceSpeech speak_;
  WordEditorShell* shell_ = nullptr;
  Mode mode_ = Mode::kAdd;
  int row_ = -1;
};

}  // namespace voxmere
