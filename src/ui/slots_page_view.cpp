// SPDX-License-Identifier: GPL-3.0-or-later
// The Voice slots page.
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

#include "app/options_window.h"
#include "ui/page_views.h"
#include "ui/report_view.h"
#include "ui/slot_editor_view.h"

namespace voxmere {
namespace {

// Hands the list's keys to the page model; the keys it takes go no further.
class SlotsListKeys : public QObject {
 public:
  SlotsListKeys(OptionsWindow& window, QObject* parent) : QObject(parent), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    bool taken = false;
    window_.Guard([this, key, &taken] {
      taken = window_.VoiceSlotsPage().ListKeyPressed(key->key(), key->modifiers());
    });
    return taken;
  }

 private:
  OptionsWindow& window_;
};

// The widget's selection follows the model's, and the other way round.
void BindSelection(QTableView& list, SlotsPage& page) {
  QItemSelectionModel* selection = list.selectionModel();
  auto to_widget = [&list, &page, selection] {
    QItemSelection rows;
    for (int row : page.SelectedRows()) {
      rows.select(list.model()->index(row, 0),
                  list.model()->index(row, list.model()->columnCount() - 1));
    }
    selection->select(rows, QItemSelectionModel::ClearAndSelect);
    if (page.SelectedRow() >= 0) {
      selection->setCurrentIndex(list.model()->index(page.SelectedRow(), 0),
                                 QItemSelectionModel::NoUpdate);
    }
  };
  QObject::connect(&page, &SlotsPage::SelectionChanged, &list, to_widget);
  QObject::connect(list.model(), &QAbstractItemModel::modelReset, &list, to_widget);
  // A page built after the model chose rows shows them.
  to_widget();
  QObject::connect(selection, &QItemSelectionModel::selectionChanged, &page, [&page, selection] {
    std::vector<int> rows;
    for (const QModelIndex& index : selection->selectedRows()) {
      rows.push_back(index.row());
    }
    page.SetSelectedRows(std::move(rows));
  });
}

QPushButton* PageButton(const QString& caption, const QString& name, OptionsWindow& window,
                        std::function<void(SlotsPage&)> handler, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  QObject::connect(button, &QPushButton::clicked, button, [&window, handler] {
    window.Guard([&window, &handler] { handler(window.VoiceSlotsPage()); });
  });
  return button;
}

}  // namespace

QWidget* BuildSlotsPage(OptionsWindow& window, const KeyEventConversion& keys, QWidget* parent) {
  SlotsPage& model = window.VoiceSlotsPage();
  auto* page = new QWidget(parent);
  page->setObjectName(QStringLiteral("VoiceSlots_Page"));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(
      new QLabel(QStringLiteral("Here you can assign hot keys to the custom voices"), page));
  QTableView* list = ReportView(QStringLiteral("SlotsList"), window.SlotsList(), page);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setAccessibleName(QStringLiteral("Voice slots"));
  for (int column = 0; column < window.SlotsList().columnCount(); ++column) {
    list->setColumnWidth(column, SlotsListModel::ColumnWidth(column));
  }
  layout->addWidget(list, 1);
  BindSelection(*list, model);
  list->installEventFilter(new SlotsListKeys(window, list));
  QObject::connect(list, &QAbstractItemView::doubleClicked, list, [&window] {
    window.Guard([&window] { window.VoiceSlotsPage().EditClicked(); });
  });
  QObject::connect(&model, &SlotsPage::ListFocusRequested, list,
                   [list] { list->setFocus(Qt::OtherFocusReason); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(PageButton(QStringLiteral("&Add"), QStringLiteral("BitBtn4"), window,
                                &SlotsPage::AddClicked, page));
  buttons->addWidget(PageButton(QStringLiteral("&Edit"), QStringLiteral("BitBtn5"), window,
                                &SlotsPage::EditClicked, page));
  buttons->addWidget(PageButton(QStringLiteral("&Delete"), QStringLiteral("BitBtn6"), window,
                                &SlotsPage::DeleteClicked, page));
  buttons->addWidget(PageButton(QStringLiteral("&Clear all"), QStringLiteral("BitBtn7"), window,
                                &SlotsPage::ClearAllClicked, page));
  buttons->addStretch(1);
  layout->addLayout(buttons);
  // The slot editor opens from this page only. It is made once and shows
  // itself when its model opens; a child of the options window after its
  // pages.
  new SlotEditorView(window, keys, parent != nullptr ? parent->window() : page);
  return page;
}

}  // namespace voxmere
