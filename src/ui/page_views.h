#pragma once

class QWidget;

namespace voxmere {

class TfrmMain;

// The pages of the options window, each built on its part of the window's
// model. The About page has a class of its own (about_page_view.h).
QWidget* BuildGeneralPage(TfrmMain& form, QWidget* parent);
QWidget* BuildDefaultVoicePage(TfrmMain& form, QWidget* parent);
QWidget* BuildSlotsPage(TfrmMain& form, QWidget* parent);
QWidget* BuildPronunciationPage(TfrmMain& form, QWidget* parent);

}  // namespace voxmere
