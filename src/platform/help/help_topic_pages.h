// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>
#include <array>

#include "platform/help_viewer.h"

namespace voxmere {

// Every topic, in the order of the help's table of contents.
inline constexpr std::array<HelpTopic, 7> kAllHelpTopics = {
    HelpTopic::kIntroduction, HelpTopic::kConfiguringKeys, HelpTopic::kReadingText,
    HelpTopic::kVoiceSlots,   HelpTopic::kPronunciation,   HelpTopic::kInstallingEngines,
    HelpTopic::kGettingHelp};

// The page of a topic inside the help file, e.g. "introduction.html".
QString HelpTopicPage(HelpTopic topic);

// The address of a page inside the help file: qthelp://voxmere.help/doc/<page>
// (the namespace and virtual folder of help/voxmere.qhp).
QUrl HelpPageUrl(const QString& page);

}  // namespace voxmere
