// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <chrono>

namespace voxmere {

// Whether the audio server (PulseAudio, or PipeWire through its PulseAudio
// service) takes a connection within `timeout`, found the way every libpulse
// client of the session finds it (PULSE_SERVER, the X11 root window, the
// user's runtime folder); never starts one. When not, the reason is in
// *reason.
bool AudioServerAnswers(std::chrono::milliseconds timeout, QString* reason);

}  // namespace voxmere
