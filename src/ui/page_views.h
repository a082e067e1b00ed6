// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace voxmere {

class OptionsWindow;
class KeyEventConversion;

// The pages of the options window, each built on its part of the window's
// model. The About page has a class of its own (about_page_view.h).
QWidget* BuildGeneralPage(OptionsWindow& window, const KeyEventConversion& keys, QWidget* parent);
QWidget* BuildDefaultVoicePage(OptionsWindow& window, QWidget* parent);
QWidget* BuildSlotsPage(OptionsWindow& window, const KeyEventConversion& keys, QWidget* parent);
QWidget* BuildPronunciationPage(OptionsWindow& window, QWidget* parent);

}  // namespace voxmere
