// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QListView;
class QPushButton;

namespace voxmere {

class KeyEventConversion;
class OptionsWindow;
class SlotEditor;

// The modal "Add voice slot" / "Edit voice slot" dialog over the options
// window, bound to the window's SlotEditor. Made once and reused: each
// opening of the model shows it again.
class SlotEditorView : public QDialog {
  Q_OBJECT

 public:
  SlotEditorView(OptionsWindow& window, const KeyEventConversion& keys, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  // Esc closes the dialog whichever control has the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildVoiceList(QWidget* parent);
  void ShowModal();

  OptionsWindow& window_;
  SlotEditor& editor_;
  QListView* voices_ = nullptr;
  QPushButton* action_ = nullptr;
  bool following_ = false;
};

}  // namespace voxmere
