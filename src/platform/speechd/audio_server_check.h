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

// Whether the session has one: a server named in PULSE_SERVER, or the folder
// PulseAudio and PipeWire keep their socket in (it stays when the server
// stops). A system that plays through ALSA alone has neither.
bool AudioServerExpected();

}  // namespace voxmere
