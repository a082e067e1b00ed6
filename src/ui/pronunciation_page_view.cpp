// SPDX-License-Identifier: GPL-3.0-or-later
// The Pronunciation page.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include "app/options_window.h"
#include "ui/bindings.h"
#include "ui/page_views.h"
#include "ui/report_view.h"

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
  layout->addWidget(table, 1);
  return page;
}

}  // namespace voxmere
