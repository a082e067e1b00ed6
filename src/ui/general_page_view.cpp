// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/options_window.h"
#include "ui/bindings.h"
#include "ui/hot_key_line_edit.h"
#include "ui/page_views.h"

namespace voxmere {

QWidget* BuildGeneralPage(OptionsWindow& window, const KeyEventConversion& keys, QWidget* parent) {
  GeneralPage& general = window.general;
  auto* page = new QWidget(parent);
  page->setObjectName(QStringLiteral("General_Page"));
  auto* layout = new QVBoxLayout(page);

  auto* startup = new QGroupBox(QStringLiteral("Startup"), page);
  auto* startup_layout = new QVBoxLayout(startup);
  for (CheckBox* model : {&general.load_at_startup, &general.minimize_to_tray}) {
    auto* box = new QCheckBox(startup);
    BindCheckBox(*box, *model, window);
    startup_layout->addWidget(box);
  }
  layout->addWidget(startup);
  // The session's note under the hot keys needs two lines of the fixed
  // window's height: the start-up boxes give them up.
  const bool with_note = !general.SessionNote().isEmpty();
  if (with_note) {
    startup_layout->setSpacing(0);
    startup_layout->setContentsMargins(9, 0, 9, 0);
    layout->setSpacing(2);
  }

  auto* hot_keys = new QGroupBox(QStringLiteral("Hot keys"), page);
  auto* grid = new QGridLayout(hot_keys);
  const struct {
    HotKeyField* model;
    const char* label;
  } fields[] = {
      {&general.reading_key_field, "&Read selected text by pressing:"},
      {&general.options_key_field, "Show &options window by pressing:"},
      {&general.stop_key_field, "&Stop reading by pressing:"},
  };
  int row = 0;
  for (const auto& field : fields) {
    auto* label = new QLabel(QString::fromLatin1(field.label), hot_keys);
    auto* edit = new HotKeyLineEdit(*field.model, window, keys, hot_keys);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    ++row;
  }
  // How the reading hot key takes the selection.
  auto* primary_selection = new QCheckBox(hot_keys);
  BindCheckBox(*primary_selection, general.primary_selection, window);
  grid->addWidget(primary_selection, row, 0, 1, 2);
  // Where the keys work, in a session where that is not everywhere.
  if (with_note) {
    auto* note = new QLabel(general.SessionNote(), hot_keys);
    note->setObjectName(QStringLiteral("SessionNote_Label"));
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    // Two lines, which the grid would squeeze otherwise.
    note->setMinimumHeight(2 * note->fontMetrics().lineSpacing());
    grid->addWidget(note, ++row, 0, 1, 2);
  }
  grid->setColumnStretch(1, 1);
  // Four rows in the fixed window's height: closer together than the style's
  // spacing.
  grid->setVerticalSpacing(2);
  layout->addWidget(hot_keys);
  layout->addStretch(1);
  return page;
}

}  // namespace voxmere
