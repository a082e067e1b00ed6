// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/message_boxes.h"

struct ca_context;

namespace voxmere {

// The warning sound as desktop applications sound their events: the sound
// theme's "dialog-warning" played through libcanberra. Most desktops never
// sound the X bell, so a failed reading would be silent with it alone; it
// stays the fallback for when no sound can be played (no sound theme, no
// audio server). Sounds are started on a thread of their own, so an audio
// server that answers slowly never holds up the windows; the thread and the
// libcanberra context are made on the first beep, because most runs of the
// program never beep. The fallback sounds on the thread that made this
// object, which must run an event loop.
class CanberraWarningSound : public Beeper {
 public:
  // `application_name` and `application_id` tell the sound server whose
  // sound it is (its mixer lists it under that name).
  CanberraWarningSound(Beeper& fallback, QByteArray application_name, QByteArray application_id);
  ~CanberraWarningSound() override;
  CanberraWarningSound(const CanberraWarningSound&) = delete;
  CanberraWarningSound& operator=(const CanberraWarningSound&) = delete;

  void Beep() override;

 private:
  void PlayBeeps();
  // On the sound thread: true when the sound was started.
  bool PlayOne();

  Beeper& fallback_;
  const QByteArray application_name_;
  const QByteArray application_id_;
  // Lives on the constructing thread: the fallback runs there.
  QObject fallback_thread_;

  std::mutex mutex_;
  std::condition_variable wake_;
  bool beep_wanted_ = false;
  bool stopping_ = false;
  std::thread thread_;
  ca_context* context_ = nullptr;  // only the sound thread touches it
};

}  // namespace voxmere
