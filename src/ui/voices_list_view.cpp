// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/voices_list_view.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "app/options_window.h"
#include "speech/default_voice_page.h"

namespace voxmere {
namespace {

constexpr int kTextMargin = 2;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

}  // namespace

const QColor& VoiceItemDelegate::SelectedTop() {
  static const QColor colour(188, 203, 243);
  return colour;
}

const QColor& VoiceItemDelegate::HoverText() {
  static const QColor colour(0, 94, 187);
  return colour;
}

void VoiceItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  painter->save();
  const QRect& rect = option.rect;
  if (option.state & QStyle::State_Selected) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, SelectedTop());
    gradient.setColorAt(1, Qt::white);
    painter->fillRect(rect, gradient);
  } else {
    painter->fillRect(rect, Qt::white);
  }
  painter->setPen((option.state & QStyle::State_MouseOver) ? HoverText() : QColor(Qt::black));
  painter->setFont(option.font);
  painter->drawText(rect.adjusted(kTextMargin, 0, -kTextMargin, 0), kTextFlags,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

QSize VoiceItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  int width = option.rect.width();
  if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget)) {
    width = view->viewport()->width();
  }
  width = qMax(width, 40);
  const QFontMetrics metrics(option.font);
  const QRect text = metrics.boundingRect(QRect(0, 0, width - 2 * kTextMargin, 100000), kTextFlags,
                                          index.data(Qt::DisplayRole).toString());
  return QSize(width, qMax(text.height(), metrics.height()) + 2 * kTextMargin);
}

VoicesListView::VoicesListView(DefaultVoicePage& page, OptionsWindow& window, QWidget* parent)
    : QListView(parent), page_(page), window_(window) {
  setObjectName(QStringLiteral("VoicesList"));
  setItemDelegate(new VoiceItemDelegate(this));
  setModel(&page.voices_list);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(true);
  setResizeMode(QListView::Adjust);
  setUniformItemSizes(false);
  setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_Hover, true);
  QPalette white = palette();
  white.setColor(QPalette::Base, Qt::white);
  setPalette(white);

  VoicesList& list = page.voices_list;
  connect(&list, &VoicesList::ItemIndexChanged, this, [this] { FollowItemIndex(); });
  connect(&list, &QAbstractItemModel::modelReset, this, [this] { FollowItemIndex(); });
  connect(&list, &QAbstractItemModel::rowsInserted, this, [this] { FollowItemIndex(); });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { OnSelectionChanged(); });
  FollowItemIndex();
}

void VoicesListView::FollowItemIndex() {
  following_ = true;
  const int item_index = page_.voices_list.ItemIndex();
  if (item_index < 0) {
    selectionModel()->clear();
  } else {
    const QModelIndex index = model()->index(item_index, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
  }
  following_ = false;
}

void VoicesListView::OnSelectionChanged() {
  if (following_) return;
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  if (selected.isEmpty()) {
    // The list always keeps its selected voice (a Ctrl+click cannot clear it).
    FollowItemIndex();
    return;
  }
  const int row = selected.first().row();
  // A choice by keyboard counts as a click too, as in a Windows list box;
  // the click comes first, so that a choice right after a page switch
  // applies the voice.
  window_.Guard([this, row] {
    page_.VoiceListClicked();
    page_.voices_list.UserSelect(row);
  });
  // The model may have refused or moved the choice.
  if (page_.voices_list.ItemIndex() != row) FollowItemIndex();
}

void VoicesListView::mousePressEvent(QMouseEvent* event) {
  if (indexAt(event->position().toPoint()).isValid()) {
    window_.Guard([this] { page_.VoiceListClicked(); });
  }
  QListView::mousePressEvent(event);
}

}  // namespace voxmere
