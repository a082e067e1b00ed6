#include "app/general_page.h"

namespace voxmere {

namespace {
// Alt+Ins: the reading hot key of a fresh installation.
constexpr TShortCut kDefaultReadingHotKey = kScAlt | 0x2D;
}  // namespace

GeneralPage::GeneralPage(const KeyNames& key_names, QObject* parent)
    : QObject(parent),
      Reading_HotKey(key_names, QStringLiteral("Reading_HotKey")),
      Options_HotKey(key_names, QStringLiteral("Options_HotKey")),
      Stop_HotKey(key_names, QStringLiteral("Stop_HotKey")) {
  Reading_HotKey.SetShortcut(kDefaultReadingHotKey);
}

}  // namespace voxmere
