// SPDX-License-Identifier: GPL-3.0-or-later
// The Voice slots page.
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "app/options_window.h"
#include "ui/page_views.h"
#include "ui/report_view.h"

namespace voxmere {

QWidget* BuildSlotsPage(OptionsWindow& window, QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName(QStringLiteral("VoiceSlots_Page"));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(
      new QLabel(QStringLiteral("Here you can assign hot keys to the custom voices"), page));
  QTableView* list = ReportView(QStringLiteral("SlotsList"), window.SlotsList(), page);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (int column = 0; column < window.SlotsList().columnCount(); ++column) {
    list->setColumnWidth(column, SlotsListModel::ColumnWidth(column));
  }
  layout->addWidget(list, 1);
  return page;
}

}  // namespace voxmere
