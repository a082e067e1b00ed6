// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QObject;

namespace voxmere {

// The topics of the program's help, one per place that asks for help.
enum class HelpTopic {
  kIntroduction,       // the tray menu's "Help"
  kConfiguringKeys,    // the General page
  kReadingText,        // the Default voice page
  kVoiceSlots,         // the Voice slots page and the slot editor
  kPronunciation,      // the Pronunciation page and the word editor
  kInstallingEngines,  // the no-engines message, when no web page is set
  kGettingHelp,        // the About page's "Technical support", likewise
};

// Shows a topic of the program's help. Where no help is installed, the
// implementation says so in a message box instead; the caller never needs to
// know which happened.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // `parent` is the window that asked (a widget or a model with one), or null.
  virtual void ShowTopic(HelpTopic topic, QObject* parent = nullptr) = 0;
  // Closes every help window the viewer opened (the program's clean-up).
  virtual void CloseAll() = 0;
  // Runs the events until the user has closed every help window; returns at
  // once when none is open. For a topic shown while the program ends.
  virtual void WaitUntilClosed() = 0;
};

}  // namespace voxmere
