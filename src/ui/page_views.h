#pragma once

class QWidget;

namespace voxmere {

class OptionsWindow;

// The pages of the options window, each built on its part of the window's
// model. The About page has a class of its own (about_page_view.h).
QWidget* BuildGeneralPage(OptionsWindow& form, QWidget* parent);
QWidget* BuildDefaultVoicePage(OptionsWindow& form, QWidget* parent);
QWidget* BuildSlotsPage(OptionsWindow& form, QWidget* parent);
QWidget* BuildPronunciationPage(OptionsWindow& form, QWidget* parent);

}  // namespace voxmere
