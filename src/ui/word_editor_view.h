// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "pronunciation/word_editor.h"

class QLineEdit;
class QPushButton;

namespace voxmere {

class OptionsWindow;

// The word editor "Pronunciation correction": a fixed dialog with a close box
// only, modal over the options window. It attaches itself to the editor's
// model as its shell; Esc and the close box are the model's Cancel.
class WordEditorView : public QDialog, public WordEditorShell {
  Q_OBJECT

 public:
  WordEditorView(WordEditor& editor, OptionsWindow& window, QWidget* parent = nullptr);
  ~WordEditorView() override;

  // WordEditorShell.
  void ShowModal() override;
  void Close() override;
  QObject* Window() override { return this; }

 public slots:
  // Esc and the close box.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void TakeOpening(WordEditor::Mode mode);

  WordEditor& editor_;
  OptionsWindow& window_;
  QLineEdit* word_ = nullptr;
  QPushButton* action_ = nullptr;
};

}  // namespace voxmere
