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

}  // namespace voxmere
