// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QStyledItemDelegate>

namespace voxmere {

class DefaultVoicePage;
class OptionsWindow;

// Draws a voice of the list: white, the selected one filled with a vertical
// gradient from light blue to white, the one under the mouse with blue text,
// long names wrapped.
class VoiceItemDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static const QColor& SelectedTop();  // RGB 188, 203, 243
  static const QColor& HoverText();    // RGB 0, 94, 187

  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The widget of the Default voice page's VoicesList. It follows the model's
// selected position, and reports the user's clicks (VoiceListClicked, before
// the selection moves) and the user's choice of another voice (UserSelect).
class VoicesListView : public QListView {
  Q_OBJECT

 public:
  VoicesListView(DefaultVoicePage& page, OptionsWindow& window, QWidget* parent = nullptr);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void FollowItemIndex();
  void OnSelectionChanged();

  DefaultVoicePage& page_;
  OptionsWindow& window_;
  bool following_ = false;
};

}  // namespace voxmere
