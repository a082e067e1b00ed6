// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/help_viewer.h"
#include "platform/message_boxes.h"

namespace voxmere {

// Help for a program whose help file is not installed: every topic shows the
// Windows program's message for a system without its help viewer, naming the
// support address.
class MissingHelpViewer : public HelpViewer {
 public:
  MissingHelpViewer(MessageBoxes& messages, QString support_address)
      : messages_(messages), support_address_(std::move(support_address)) {}

  static QString Message(const QString& support_address);
  void ShowTopic(HelpTopic topic, QObject* parent = nullptr) override;
  void CloseAll() override {}
  void WaitUntilClosed() override {}

 private:
  MessageBoxes& messages_;
  QString support_address_;
};

}  // namespace voxmere
