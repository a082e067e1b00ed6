// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/slot_editor_view.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>

#include "app/options_window.h"
#include "ui/bindings.h"
#include "ui/hot_key_line_edit.h"

namespace voxmere {
namespace {

constexpr int kNumberBoxWidth = 34;
constexpr int kVoicesListHeight = 90;

}  // namespace

SlotEditorView::SlotEditorView(OptionsWindow& window, const KeyEventConversion& keys,
                               QWidget* parent)
    : QDialog(parent), window_(window), editor_(window.VoiceSlotEditor()) {
  setObjectName(editor_.objectName());
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);

  auto* slot = new QGroupBox(QStringLiteral("Slot properties"), this);
  auto* slot_layout = new QVBoxLayout(slot);
  auto* voice_label = new QLabel(QStringLiteral("Please, choose the voice for slot:"), slot);
  slot_layout->addWidget(voice_label);
  BuildVoiceList(slot);
  voice_label->setBuddy(voices_);
  slot_layout->addWidget(voices_);
  auto* key_label = new QLabel(QStringLiteral("Slot's hot key"), slot);
  slot_layout->addWidget(key_label);
  auto* key_edit = new HotKeyLineEdit(editor_.hot_key_field, window, keys, slot);
  key_edit->setToolTip(QStringLiteral("Press the desired key or combination of keys"));
  key_edit->setAccessibleName(key_label->text());
  key_label->setBuddy(key_edit);
  key_edit->installEventFilter(this);
  slot_layout->addWidget(key_edit);
  layout->addWidget(slot);

  auto* properties = new QGroupBox(QStringLiteral("Voice properties"), this);
  auto* grid = new QGridLayout(properties);
  const struct {
    const char* label;
    TrackBar* bar;
    TextField* box;
  } bars[] = {
      {"Speed of reading:", &editor_.speed_bar, &editor_.speed_box},
      {"Pitch of voice:", &editor_.pitch_bar, &editor_.pitch_box},
      {"Volume of reading:", &editor_.volume_bar, &editor_.volume_box},
  };
  int line = 0;
  for (const auto& entry : bars) {
    const QString caption = QString::fromLatin1(entry.label);
    grid->addWidget(new QLabel(caption, properties), line++, 0, 1, 2);
    auto* slider = new QSlider(properties);
    BindTrackBar(*slider, *entry.bar, window);
    slider->setAccessibleName(caption);
    auto* number = new QLineEdit(properties);
    BindTextField(*number, *entry.box, window);
    number->setAccessibleName(caption);
    number->setFixedWidth(kNumberBoxWidth);
    number->setAlignment(Qt::AlignRight);
    grid->addWidget(slider, line, 0);
    grid->addWidget(number, line++, 1);
  }
  layout->addWidget(properties);

  auto* buttons = new QHBoxLayout;
  action_ = new QPushButton(this);
  action_->setObjectName(QStringLiteral("Action_Button"));
  QFont bold = action_->font();
  bold.setBold(true);
  action_->setFont(bold);
  action_->setDefault(true);
  auto* test = new QPushButton(QStringLiteral("&Test voice"), this);
  test->setObjectName(QStringLiteral("Button1"));
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cancel->setObjectName(QStringLiteral("Cancel_Button"));
  buttons->addWidget(action_);
  buttons->addWidget(test);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  connect(action_, &QPushButton::clicked, this,
          [this] { window_.Guard([this] { editor_.ActionClicked(); }); });
  connect(test, &QPushButton::clicked, this,
          [this] { window_.Guard([this] { editor_.TestClicked(); }); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this,
          [this] { window_.Guard([this] { editor_.HelpRequested(); }); });
  connect(&editor_, &SlotEditor::OpenRequested, this, [this] { ShowModal(); });
  connect(&editor_, &SlotEditor::CloseRequested, this, &QDialog::accept);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SlotEditorView::BuildVoiceList(QWidget* parent) {
  voices_ = new QListView(parent);
  voices_->setObjectName(editor_.voices_list.objectName());
  voices_->setAccessibleName(QStringLiteral("Voice for slot"));
  voices_->setModel(&editor_.voices_list);
  voices_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  voices_->setFixedHeight(kVoicesListHeight);
  voices_->installEventFilter(this);
  auto follow = [this] {
    following_ = true;
    const int index = editor_.voices_list.ItemIndex();
    if (index < 0) {
      voices_->selectionModel()->clearSelection();
    } else {
      voices_->setCurrentIndex(editor_.voices_list.index(index));
    }
    following_ = false;
  };
  connect(&editor_.voices_list, &VoicesList::ItemIndexChanged, voices_, follow);
  connect(&editor_.voices_list, &QAbstractItemModel::modelReset, voices_, follow);
  connect(&editor_.voices_list, &QAbstractItemModel::rowsInserted, voices_, follow);
  connect(voices_->selectionModel(), &QItemSelectionModel::currentChanged, voices_,
          [this](const QModelIndex& current) {
            if (following_ || !current.isValid()) return;
            window_.Guard([this, current] { editor_.voices_list.UserSelect(current.row()); });
          });
}

void SlotEditorView::ShowModal() {
  setWindowTitle(editor_.Caption());
  setWindowIcon(style()->standardIcon(editor_.EditMode() == SlotEditor::Mode::kAdd
                                          ? QStyle::SP_FileDialogNewFolder
                                          : QStyle::SP_FileDialogDetailedView));
  action_->setText(editor_.ActionCaption());
  voices_->setFocus(Qt::OtherFocusReason);
  exec();
}

void SlotEditorView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  window_.Guard([this] { editor_.Shown(); });
}

void SlotEditorView::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (event->spontaneous()) return;
  window_.Guard([this] { editor_.Hidden(); });
}

bool SlotEditorView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    reject();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace voxmere
