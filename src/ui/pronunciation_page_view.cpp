// SPDX-License-Identifier: GPL-3.0-or-later
// The Pronunciation page.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/options_window.h"
#include "ui/accessible_names.h"
#include "ui/bindings.h"
#include "ui/page_views.h"
#include "ui/report_view.h"
#include "ui/word_editor_view.h"

namespace voxmere {
namespace {

// Widths of the corrections table's columns; the "Case sensitive" column
// narrows once the table needs a scroll bar.
constexpr int kWordColumnWidth = 90;
constexpr int kPronunciationColumnWidth = 90;
constexpr int kCaseColumnWide = 96;
constexpr int kCaseColumnNarrow = 80;
constexpr int kWideRowsMax = 7;

void MakeColumnsWidths(QTableView& view) {
  view.setColumnWidth(0, kWordColumnWidth);
  view.setColumnWidth(1, kPronunciationColumnWidth);
  const int rows = view.model()->rowCount();
  view.setColumnWidth(2, rows <= kWideRowsMax ? kCaseColumnWide : kCaseColumnNarrow);
}

// The table's selection follows the model's selected row, and the user's
// choice goes to the model.
void BindSelection(QTableView& view, WordsTableModel& model) {
  QObject::connect(&model, &WordsTableModel::SelectedRowChanged, &view, [&view](int row) {
    const QModelIndexList rows = view.selectionModel()->selectedRows();
    if (row < 0) {
      view.clearSelection();
    } else if (rows.size() != 1 || rows.first().row() != row) {
      view.selectRow(row);
    }
  });
  // A page built after the model chose a row shows it.
  if (model.SelectedRow() >= 0) view.selectRow(model.SelectedRow());
  QObject::connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, &model,
                   [&view, &model] {
                     const QModelIndexList rows = view.selectionModel()->selectedRows();
                     model.SelectRow(rows.isEmpty() ? -1 : rows.first().row());
                   });
  QObject::connect(&model, &WordsTableModel::FocusRequested, &view,
                   [&view] { view.setFocus(Qt::OtherFocusReason); });
}

// "&Add", "&Edit", "&Delete", "&Test" right of the table.
QVBoxLayout* BuildButtons(OptionsWindow& window, QWidget* page) {
  PronunciationPageActions& actions = window.pronunciation_actions;
  auto* column = new QVBoxLayout;
  const auto add = [&](const char* name, const char* caption,
                       void (PronunciationPageActions::*handler)()) {
    auto* button = new QPushButton(QString::fromLatin1(caption), page);
    button->setObjectName(QString::fromLatin1(name));
    QObject::connect(button, &QPushButton::clicked, page, [&window, &actions, handler] {
      window.Guard([&actions, handler] { (actions.*handler)(); });
    });
    column->addWidget(button);
  };
  add("BitBtn8", "&Add", &PronunciationPageActions::AddClicked);
  add("BitBtn9", "&Edit", &PronunciationPageActions::EditClicked);
  add("BitBtn10", "&Delete", &PronunciationPageActions::DeleteClicked);
  add("BitBtn11", "&Test", &PronunciationPageActions::TestClicked);
  column->addStretch(1);
  return column;
}

}  // namespace

QWidget* BuildPronunciationPage(OptionsWindow& window, QWidget* parent) {
  PronunciationPage& words = window.pronunciation;
  auto* page = new QWidget(parent);
  page->setObjectName(QStringLiteral("Pronunciation_Page"));
  auto* layout = new QVBoxLayout(page);

  auto* characters_row = new QHBoxLayout;
  auto* ignore = new QCheckBox(page);
  BindCheckBox(*ignore, words.ignore_characters, window);
  auto* characters = new QLineEdit(page);
  BindTextField(*characters, words.ignored_characters, window);
  characters_row->addWidget(ignore);
  characters_row->addWidget(characters, 1);
  layout->addLayout(characters_row);

  auto* corrections = new QCheckBox(page);
  BindCheckBox(*corrections, words.use_corrections, window);
  layout->addWidget(corrections);

  QTableView* table = ReportView(QStringLiteral("Words_Table"), words.WordsTable(), page);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  MakeColumnsWidths(*table);
  QAbstractItemModel* model = table->model();
  const auto widths = [table] { MakeColumnsWidths(*table); };
  QObject::connect(model, &QAbstractItemModel::modelReset, table, widths);
  QObject::connect(model, &QAbstractItemModel::layoutChanged, table, widths);
  QObject::connect(model, &QAbstractItemModel::rowsInserted, table, widths);
  QObject::connect(model, &QAbstractItemModel::rowsRemoved, table, widths);
  BindSelection(*table, words.WordsTable());
  QObject::connect(table, &QTableView::doubleClicked, page, [&window] {
    window.Guard([&window] { window.pronunciation_actions.TableDoubleClicked(); });
  });
  auto* table_row = new QHBoxLayout;
  table_row->addWidget(table, 1);
  table_row->addLayout(BuildButtons(window, page));
  layout->addLayout(table_row, 1);
  // Controls whose label a screen reader cannot find by itself.
  SetAccessibleNames(*page, {
                                {"Ignored_Characters", QStringLiteral("Characters to ignore")},
                                {"Words_Table", QStringLiteral("Pronunciation corrections")},
                            });

  // Made once and reused for every opening; a child of the options window
  // after its pages, so that the pages' own "Edit1" and "HyperLabel2" are
  // the ones found by name.
  new WordEditorView(window.word_editor, window, parent != nullptr ? parent->window() : page);
  return page;
}

}  // namespace voxmere
