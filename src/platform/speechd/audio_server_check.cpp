// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/audio_server_check.h"

#include <pulse/pulseaudio.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace voxmere {

bool AudioServerAnswers(std::chrono::milliseconds timeout, QString* reason) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + timeout;
  pa_mainloop* loop = pa_mainloop_new();
  if (loop == nullptr) {
    *reason = QStringLiteral("cannot start the audio client");
    return false;
  }
  pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Voxmere");
  bool ready = false;
  if (context == nullptr) {
    *reason = QStringLiteral("cannot start the audio client");
  } else if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    *reason = QString::fromUtf8(pa_strerror(pa_context_errno(context)));
  } else {
    for (;;) {
      const pa_context_state_t state = pa_context_get_state(context);
      if (state == PA_CONTEXT_READY) {
        ready = true;
        break;
      }
      if (!PA_CONTEXT_IS_GOOD(state)) {
        *reason = QString::fromUtf8(pa_strerror(pa_context_errno(context)));
        break;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
      if (left.count() <= 0) {
        *reason = QStringLiteral("the audio server does not answer");
        break;
      }
      if (pa_mainloop_prepare(loop, static_cast<int>(left.count())) < 0 ||
          pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0) {
        *reason = QStringLiteral("the audio client failed");
        break;
      }
    }
    pa_context_disconnect(context);
  }
  if (context != nullptr) pa_context_unref(context);
  pa_mainloop_free(loop);
  return ready;
}

bool AudioServerExpected() {
  if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(QDir(runtime).filePath(QStringLiteral("pulse"))).isDir()) {
    return true;
  }
  // A server for the whole system.
  return QFileInfo(QStringLiteral("/run/pulse")).isDir();
}

}  // namespace voxmere
