// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QCheckBox;
class QLineEdit;
class QSlider;

namespace voxmere {

class CheckBox;
class TextField;
class OptionsWindow;
class TrackBar;

// Binds a widget to its control model both ways: the widget takes the
// model's name, caption and state, follows every change of the model, and
// hands the user's changes to the model through the window's error guard.
void BindCheckBox(QCheckBox& widget, CheckBox& model, OptionsWindow& window);
void BindTextField(QLineEdit& widget, TextField& model, OptionsWindow& window);
void BindTrackBar(QSlider& widget, TrackBar& model, OptionsWindow& window);

}  // namespace voxmere
