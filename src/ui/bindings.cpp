// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/bindings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include "app/options_window.h"
#include "controls/check_box.h"
#include "controls/text_field.h"
#include "controls/track_bar.h"

namespace voxmere {

void BindCheckBox(QCheckBox& widget, CheckBox& model, OptionsWindow& window) {
  widget.setObjectName(model.objectName());
  widget.setText(model.Caption());
  widget.setChecked(model.Checked());
  QObject::connect(&model, &CheckBox::CheckedChanged, &widget, [&widget](bool checked) {
    if (widget.isChecked() != checked) widget.setChecked(checked);
  });
  // clicked() comes from the user only (mouse or space bar).
  QObject::connect(&widget, &QCheckBox::clicked, &model, [&model, &window](bool checked) {
    window.Guard([&model, checked] { model.SetChecked(checked); });
  });
}

void BindTextField(QLineEdit& widget, TextField& model, OptionsWindow& window) {
  widget.setObjectName(model.objectName());
  if (model.MaxLength() > 0) widget.setMaxLength(model.MaxLength());
  widget.setReadOnly(model.ReadOnly());
  widget.setToolTip(model.Hint());
  // Like a Windows edit box, the field shows the start of a text the program
  // puts in (setText would show its end).
  widget.setText(model.Text());
  widget.setCursorPosition(0);
  QObject::connect(&model, &TextField::TextChanged, &widget, [&widget](const QString& text) {
    if (widget.text() == text) return;
    widget.setText(text);
    widget.setCursorPosition(0);
  });
  // Any change of the widget's text that the model does not know yet is the
  // user's (typing, pasting, undo).
  QObject::connect(&widget, &QLineEdit::textChanged, &model,
                   [&model, &window](const QString& text) {
                     if (text == model.Text()) return;
                     window.Guard([&model, text] { model.SetText(text); });
                   });
}

void BindTrackBar(QSlider& widget, TrackBar& model, OptionsWindow& window) {
  widget.setObjectName(model.objectName());
  widget.setOrientation(Qt::Horizontal);
  widget.setTickPosition(QSlider::TicksBelow);
  widget.setTickInterval(model.Frequency());
  widget.setSingleStep(1);
  widget.setRange(model.Min(), model.Max());
  widget.setValue(model.Position());
  // The model's own changes must not come back to it as the user's.
  QObject::connect(&model, &TrackBar::RangeChanged, &widget, [&widget, &model](int min, int max) {
    const QSignalBlocker blocker(&widget);
    widget.setRange(min, max);
    widget.setValue(model.Position());
  });
  QObject::connect(&model, &TrackBar::Changed, &widget, [&widget](int position) {
    const QSignalBlocker blocker(&widget);
    widget.setValue(position);
  });
  QObject::connect(&widget, &QSlider::valueChanged, &model, [&model, &window](int position) {
    if (position == model.Position()) return;
    window.Guard([&model, position] { model.SetPosition(position); });
  });
}

}  // namespace voxmere
