// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace voxmere {

// The help window lives in a module of its own, loaded at the first help
// request: Qt Help and Qt SQL come into memory then, and a run that never
// asks for help never pays for them. The program and the module meet only
// through this interface and the one function below.
class HelpWindowModule {
 public:
  virtual ~HelpWindowModule() = default;
  // Opens the help file; false, with the reason in `error`, when it cannot be
  // read as help.
  virtual bool Open(const QString& help_file, QString& error) = 0;
  // Shows the window in front at the page at `url` (qthelp://...).
  virtual void ShowPage(const QUrl& url) = 0;
  // The help window (tests find its parts by their object names).
  virtual QWidget* Window() = 0;
};

// The module's file name, beside the program or installed in
// ../lib/voxmere/ (see LocateHelpModule).
inline constexpr const char* kHelpModuleFileName = "voxmere_help_window.so";
// The module's one exported function: a new HelpWindowModule, owned by the
// caller. It is C, so that QLibrary finds it by this name.
inline constexpr const char* kMakeHelpWindowModule = "voxmere_make_help_window";
using MakeHelpWindowModuleFunction = HelpWindowModule* (*)();

}  // namespace voxmere
