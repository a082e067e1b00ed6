// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/canberra_warning_sound.h"

#include <canberra.h>

#include <QMetaObject>
#include <utility>

#include "platform/desktop/desktop_log.h"

namespace voxmere {
namespace {

constexpr char kWarningEvent[] = "dialog-warning";

}  // namespace

CanberraWarningSound::CanberraWarningSound(Beeper& fallback, QByteArray application_name,
                                           QByteArray application_id)
    : fallback_(fallback),
      application_name_(std::move(application_name)),
      application_id_(std::move(application_id)) {}

CanberraWarningSound::~CanberraWarningSound() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
  if (context_ != nullptr) ca_context_destroy(context_);
}

void CanberraWarningSound::Beep() {
  {
    const std::lock_guard lock(mutex_);
    // Beeps asked for while one is being started are one sound: a burst of
    // failed readings should not queue a burst of sounds.
    beep_wanted_ = true;
    if (!thread_.joinable()) thread_ = std::thread([this] { PlayBeeps(); });
  }
  wake_.notify_one();
}

void CanberraWarningSound::PlayBeeps() {
  std::unique_lock lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return stopping_ || beep_wanted_; });
    if (stopping_) return;
    beep_wanted_ = false;
    lock.unlock();
    const bool played = PlayOne();
    lock.lock();
    if (!played && !stopping_) {
      QMetaObject::invokeMethod(
          &fallback_thread_, [this] { fallback_.Beep(); }, Qt::QueuedConnection);
    }
  }
}

bool CanberraWarningSound::PlayOne() {
  int error = CA_SUCCESS;
  if (context_ == nullptr) {
    error = ca_context_create(&context_);
    if (error == CA_SUCCESS) {
      error =
          ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, application_name_.constData(),
                                  CA_PROP_APPLICATION_ID, application_id_.constData(), nullptr);
    }
    // Chooses the driver and connects to the audio server.
    if (error == CA_SUCCESS) error = ca_context_open(context_);
  }
  if (error == CA_SUCCESS) {
    // Returns once the server has the sound; the playing goes on there.
    error = ca_context_play(context_, 0, CA_PROP_EVENT_ID, kWarningEvent, CA_PROP_EVENT_DESCRIPTION,
                            "Warning", nullptr);
  }
  if (error == CA_SUCCESS) return true;
  qCWarning(DesktopLog, "The warning sound cannot be played (%s); ringing the bell instead",
            ca_strerror(error));
  // A theme without the sound leaves the connection good; after any other
  // failure connect afresh next time, the audio server may have come back.
  if (error != CA_ERROR_NOTFOUND && context_ != nullptr) {
    ca_context_destroy(context_);
    context_ = nullptr;
  }
  return false;
}

}  // namespace voxmere
