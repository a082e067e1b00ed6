// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "platform/message_boxes.h"

namespace voxmere {

// Message boxes that record what was shown and answer from a script.
class FakeMessageBoxes : public MessageBoxes, public Beeper {
 public:
  struct Shown {
    Kind kind;
    QString text;
    Buttons buttons;
    QObject* parent;
  };

  Answer Show(Kind kind, const QString& text, Buttons buttons, QObject* parent = nullptr) override;
  void Beep() override {
    ++beeps_;
    if (on_beep_) on_beep_();
  }

  // The answers the next Yes/No boxes give, in order; when none is queued a
  // Yes/No box answers `default_answer` (Yes unless set).
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  void SetDefaultAnswer(Answer answer) { default_answer_ = answer; }
  // Runs while a box is "open": lets a test act as if something happened
  // during the modal loop.
  void SetWhileShown(std::function<void(const Shown&)> action) { while_shown_ = std::move(action); }
  // Runs at each beep: lets a test see what happened before it.
  void SetOnBeep(std::function<void()> action) { on_beep_ = std::move(action); }

  const std::vector<Shown>& Boxes() const { return boxes_; }
  int Beeps() const { return beeps_; }
  void Clear() {
    boxes_.clear();
    beeps_ = 0;
  }

 private:
  std::vector<Shown> boxes_;
  std::deque<Answer> answers_;
  Answer default_answer_ = Answer::kYes;
  std::function<void(const Shown&)> while_shown_;
  std::function<void()> on_beep_;
  int beeps_ = 0;
};

}  // namespace voxmere
