// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/general_page.h"

namespace voxmere {

namespace {
// Alt+Ins: the reading hot key of a fresh installation.
constexpr ShortCut kDefaultReadingHotKey = kScAlt | 0x2D;
}  // namespace

GeneralPage::GeneralPage(const KeyNames& key_names, QObject* parent)
    : QObject(parent),
      reading_key_field(key_names, QStringLiteral("Reading_HotKey")),
      options_key_field(key_names, QStringLiteral("Options_HotKey")),
      stop_key_field(key_names, QStringLiteral("Stop_HotKey")) {
  reading_key_field.SetShortcut(kDefaultReadingHotKey);
}

void GeneralPage::SetWaylandSession(bool wayland) {
  // The keys are grabbed on the X server, which in a Wayland session sees
  // only the keys typed into X11 applications; the desktop's own shortcuts
  // see them all and can run the program's commands.
  session_note_ = wayland ? QStringLiteral(
                                "Wayland: these keys work in X11 apps only. For all apps, let "
                                "desktop keys run voxmere --read, voxmere --stop, ...")
                          : QString();
}

}  // namespace voxmere
