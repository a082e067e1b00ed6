// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/help_topic_pages.h"

namespace voxmere {

QString HelpTopicPage(HelpTopic topic) {
  switch (topic) {
    case HelpTopic::kIntroduction:
      return QStringLiteral("introduction.html");
    case HelpTopic::kConfiguringKeys:
      return QStringLiteral("configuring-keys.html");
    case HelpTopic::kReadingText:
      return QStringLiteral("reading-text.html");
    case HelpTopic::kVoiceSlots:
      return QStringLiteral("voice-slots.html");
    case HelpTopic::kPronunciation:
      return QStringLiteral("pronunciation.html");
    case HelpTopic::kInstallingEngines:
      return QStringLiteral("installing-engines.html");
    case HelpTopic::kGettingHelp:
      return QStringLiteral("getting-help.html");
  }
  return QStringLiteral("introduction.html");
}

QUrl HelpPageUrl(const QString& page) {
  return QUrl(QStringLiteral("qthelp://voxmere.help/doc/") + page);
}

}  // namespace voxmere
