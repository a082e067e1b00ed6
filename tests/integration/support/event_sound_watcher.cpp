// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/event_sound_watcher.h"

#include <pulse/pulseaudio.h>

#include <cstdint>

#include <stdexcept>
#include <utility>

namespace voxmere {

EventSoundWatcher::EventSoundWatcher(std::string event_id) : event_id_(std::move(event_id)) {
  mainloop_ = pa_threaded_mainloop_new();
  if (mainloop_ == nullptr) throw std::runtime_error("EventSoundWatcher: no PulseAudio main loop");
  context_ = pa_context_new(pa_threaded_mainloop_get_api(mainloop_), "voxmere-test-events");
  pa_context_set_state_callback(
      context_,
      [](pa_context*, void* loop) {
        pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
      },
      mainloop_);
  // A new stream is looked up at once: an event sound lasts a fraction of a
  // second, its properties go with it.
  pa_context_set_subscribe_callback(
      context_,
      [](pa_context* context, pa_subscription_event_type_t type, std::uint32_t index, void* self) {
        if ((type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) != PA_SUBSCRIPTION_EVENT_NEW) return;
        pa_operation_unref(pa_context_get_sink_input_info(
            context, index,
            [](pa_context*, const pa_sink_input_info* info, int eol, void* self) {
              if (eol != 0 || info == nullptr) return;
              auto* watcher = static_cast<EventSoundWatcher*>(self);
              const char* id = pa_proplist_gets(info->proplist, PA_PROP_EVENT_ID);
              if (id != nullptr && watcher->event_id_ == id) ++watcher->count_;
            },
            self));
      },
      this);
  pa_threaded_mainloop_lock(mainloop_);
  bool ready = pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
               pa_threaded_mainloop_start(mainloop_) >= 0;
  while (ready) {
    const pa_context_state_t state = pa_context_get_state(context_);
    if (state == PA_CONTEXT_READY) break;
    if (!PA_CONTEXT_IS_GOOD(state)) ready = false;
    if (ready) pa_threaded_mainloop_wait(mainloop_);
  }
  pa_operation* subscribing = nullptr;
  if (ready) {
    subscribing = pa_context_subscribe(context_, PA_SUBSCRIPTION_MASK_SINK_INPUT, nullptr, nullptr);
  }
  if (subscribing != nullptr) pa_operation_unref(subscribing);
  pa_threaded_mainloop_unlock(mainloop_);
  if (subscribing == nullptr) {
    Shutdown();
    throw std::runtime_error("EventSoundWatcher: cannot reach the audio server");
  }
}

EventSoundWatcher::~EventSoundWatcher() { Shutdown(); }

void EventSoundWatcher::Shutdown() {
  if (mainloop_ != nullptr) pa_threaded_mainloop_stop(mainloop_);
  if (context_ != nullptr) {
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
  }
  if (mainloop_ != nullptr) {
    pa_threaded_mainloop_free(mainloop_);
    mainloop_ = nullptr;
  }
}

}  // namespace voxmere
