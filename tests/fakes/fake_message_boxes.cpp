// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_message_boxes.h"

namespace voxmere {

MessageBoxes::Answer FakeMessageBoxes::Show(Kind kind, const QString& text, Buttons buttons,
                                            QObject* parent) {
  boxes_.push_back({kind, text, buttons, parent});
  if (while_shown_) while_shown_(boxes_.back());
  if (buttons == Buttons::kOk) return Answer::kOk;
  Answer answer = default_answer_;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  // A Yes/No box cannot answer OK.
  return answer == Answer::kOk ? Answer::kNo : answer;
}

}  // namespace voxmere
