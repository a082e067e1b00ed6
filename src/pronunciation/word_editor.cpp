// SPDX-License-Identifier: GPL-3.0-or-later
#include "pronunciation/word_editor.h"

#include <utility>

#include "pronunciation/words_file.h"

namespace voxmere {
namespace {

const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

}  // namespace

const QString& WordEditor::Caption() {
  static const QString caption = QStringLiteral("Pronunciation correction");
  return caption;
}

WordEditor::WordEditor(PronunciationPage& page, QString words_path, MessageBoxes& messages,
                       HelpViewer& help, DefaultVoiceSpeech speak, QObject* parent)
    : QObject(parent),
      page_(page),
      words_path_(std::move(words_path)),
      messages_(messages),
      help_(help),
      speak_(std::move(speak)) {}

QString WordEditor::ActionCaption() const {
  return mode_ == Mode::kAdd ? QStringLiteral("Add word") : QStringLiteral("Save changes");
}

void WordEditor::OpenToAdd() {
  word_box.SetText(QString());
  pronunciation_box.SetText(QString());
  case_sensitive.SetChecked(false);
  Open(Mode::kAdd, -1);
}

void WordEditor::OpenToEdit(int row) {
  const PronunciationEntry& entry = page_.Table().at(row);
  word_box.SetText(entry.word);
  pronunciation_box.SetText(entry.pronunciation);
  // Only the program's own "Yes" ticks the box, though readings take any
  // flag but "No" as case-sensitive.
  case_sensitive.SetChecked(entry.case_sensitive == kYes);
  Open(Mode::kEdit, row);
}

void WordEditor::Open(Mode mode, int row) {
  mode_ = mode;
  row_ = row;
  emit Opening(mode);
  if (shell_ != nullptr) shell_->ShowModal();
}

QString WordEditor::Refusal(const PronunciationEntry& entry) const {
  if (entry.word.isEmpty()) {
    return QStringLiteral("Please, type some word for pronunciation correction.");
  }
  // Words that differ in case only are different corrections; an edit may
  // take another entry's word.
  if (mode_ == Mode::kAdd) {
    for (const PronunciationEntry& existing : page_.Table()) {
      if (existing.word == entry.word) {
        return QStringLiteral("Sorry, but pronunciation correction for \"") + entry.word +
               QStringLiteral("\"  already exists.");
      }
    }
  }
  // What words.ini cannot hold is refused here, so that no later save fails.
  return WordsEntryProblem(entry);
}

void WordEditor::ActionClicked() {
  const PronunciationEntry entry{word_box.Text(), pronunciation_box.Text(),
                                 case_sensitive.Checked() ? kYes : kNo};
  const QString refusal = Refusal(entry);
  if (!refusal.isEmpty()) {
    messages_.Information(refusal, Window());
    return;
  }
  if (mode_ == Mode::kAdd) {
    page_.WordsTable().Append(entry);
  } else {
    page_.WordsTable().Replace(row_, entry);
  }
  page_.SaveWords(words_path_);
  if (shell_ != nullptr) shell_->Close();
}

void WordEditor::TestClicked() { speak_(pronunciation_box.Text()); }

void WordEditor::CancelClicked() {
  if (shell_ != nullptr) shell_->Close();
}

void WordEditor::HelpRequested() { help_.ShowTopic(HelpTopic::kPronunciation, Window()); }

}  // namespace voxmere
