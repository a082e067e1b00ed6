// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere {

// The process-wide flags of a run, set at start-up and by the window's
// lifecycle and read by the reading path.
struct AppFlags {
  // Cleared by the start-up probes when the engine cannot be used.
  bool sapi5_available = true;
  bool sapi4_available = true;
  // FirstRun as the first settings load found it, before it was rewritten.
  bool first_run_at_start = false;
  // WelcomeDlg was false at a settings load; never cleared.
  bool show_welcome = false;
  // True until a settings load has restored the window's placement once.
  bool first_load = true;
  // The session is ending: every close request is granted at once.
  bool session_ending = false;
  // The tray menu's Exit is closing the window.
  bool exit_requested = false;
};

}  // namespace voxmere
