// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/missing_help_viewer.h"

#include "platform/desktop/desktop_log.h"

namespace voxmere {

QString MissingHelpViewer::Message(const QString& support_address) {
  // A single carriage return between the two sentences, as the Windows
  // program has it.
  return QStringLiteral("Sorry, but your system doesn't support HTMLHelp.\rPlease, consult ") +
         support_address + QStringLiteral(" and we'll send you another help file.");
}

void MissingHelpViewer::ShowTopic(HelpTopic topic, QObject* parent) {
  qCDebug(DesktopLog, "Help topic %d asked for, but no help file is installed",
          static_cast<int>(topic));
  messages_.Show(MessageBoxes::Kind::kPlain, Message(support_address_), MessageBoxes::Buttons::kOk,
                 parent);
}

}  // namespace voxmere
