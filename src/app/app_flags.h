#pragma once

#include <QString>

namespace voxmere {

// The process-wide flags of a run, set at start-up and by the window's
// lifecycle and read by the reading path.
struct AppFlags {
  // Cleared by the start-up probes when the engine cannot be used.
  bool SAPI5Available = true;
  bool SAPI4Available = true;
  // FirstRun as the first settings load found it, before it was rewritten.
  bool FirstRunAtStart = false;
  // WelcomeDlg was false at a settings load; never cleared.
  bool ShowWelcome = false;
  // True until a settings load has restored the window's placement once.
  bool FirstLoad = true;
  // The session is ending: every close request is granted at once.
  bool SessionEnding = false;
  // The tray menu's Exit is closing the window.
  bool ExitRequested = false;
};

}  // namespace voxmere
