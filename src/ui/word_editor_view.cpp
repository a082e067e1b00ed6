// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/word_editor_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include "app/options_window.h"
#include "ui/about_page_view.h"
#include "ui/bindings.h"

namespace voxmere {
namespace {

// The dialog's two small pictures: one while adding, one while editing.
QIcon ModeIcon(const QStyle& style, WordEditor::Mode mode) {
  if (mode == WordEditor::Mode::kAdd) {
    return QIcon::fromTheme(QStringLiteral("list-add"),
                            style.standardIcon(QStyle::SP_FileDialogNewFolder));
  }
  return QIcon::fromTheme(QStringLiteral("document-edit"),
                          style.standardIcon(QStyle::SP_FileDialogDetailedView));
}

QPushButton* Button(const MenuEntry& entry, QWidget* parent) {
  auto* button = new QPushButton(entry.Caption(), parent);
  button->setObjectName(entry.objectName());
  return button;
}

}  // namespace

WordEditorView::WordEditorView(WordEditor& editor, OptionsWindow& window, QWidget* parent)
    : QDialog(parent), editor_(editor), window_(window) {
  setObjectName(QStringLiteral("frmWord"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(WordEditor::Caption());

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* boxes = new QGridLayout;
  word_ = new QLineEdit(this);
  BindTextField(*word_, editor.word_box, window);
  auto* pronunciation = new QLineEdit(this);
  BindTextField(*pronunciation, editor.pronunciation_box, window);
  auto* word_label = new QLabel(QStringLiteral("Word to correct"), this);
  word_label->setBuddy(word_);
  auto* pronunciation_label = new QLabel(QStringLiteral("Pronounce as"), this);
  pronunciation_label->setBuddy(pronunciation);
  boxes->addWidget(word_label, 0, 0);
  boxes->addWidget(word_, 1, 0);
  boxes->addWidget(pronunciation_label, 0, 1);
  boxes->addWidget(pronunciation, 1, 1);
  layout->addLayout(boxes);

  auto* case_sensitive = new QCheckBox(this);
  BindCheckBox(*case_sensitive, editor.case_sensitive, window);
  layout->addWidget(case_sensitive);
  auto* help_link = new LinkLabel(QStringLiteral("HyperLabel2"),
                                  QStringLiteral("How to correct pronunciation of words"), this);
  layout->addWidget(help_link);

  auto* buttons = new QHBoxLayout;
  action_ = new QPushButton(editor.ActionCaption(), this);
  action_->setObjectName(QStringLiteral("Action_Button"));
  action_->setDefault(true);
  QPushButton* test = Button(editor.test_button, this);
  QPushButton* cancel = Button(editor.cancel_button, this);
  buttons->addWidget(action_);
  buttons->addWidget(test);
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  connect(action_, &QPushButton::clicked, this,
          [this] { window_.Guard([this] { editor_.ActionClicked(); }); });
  connect(test, &QPushButton::clicked, this,
          [this] { window_.Guard([this] { editor_.TestClicked(); }); });
  connect(cancel, &QPushButton::clicked, this, &WordEditorView::reject);
  const auto help = [this] { window_.Guard([this] { editor_.HelpRequested(); }); };
  connect(help_link, &LinkLabel::clicked, this, help);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, help);
  connect(&editor, &WordEditor::Opening, this, &WordEditorView::TakeOpening);

  TakeOpening(editor.CurrentMode());
  editor.AttachShell(this);
}

WordEditorView::~WordEditorView() { editor_.AttachShell(nullptr); }

void WordEditorView::TakeOpening(WordEditor::Mode mode) {
  setWindowTitle(WordEditor::Caption());
  setWindowIcon(ModeIcon(*style(), mode));
  action_->setText(editor_.ActionCaption());
}

void WordEditorView::ShowModal() { exec(); }

void WordEditorView::Close() { done(QDialog::Rejected); }

void WordEditorView::reject() {
  window_.Guard([this] { editor_.CancelClicked(); });
}

void WordEditorView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  word_->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace voxmere
