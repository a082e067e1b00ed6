// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tray_model.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStringList>

#include "app/about_page.h"
#include "app/general_page.h"
#include "fakes/fake_key_names.h"

namespace voxmere {
namespace {

TEST(TrayModelTest, IconReportsEveryPictureButOnlyVisibilityChanges) {
  TrayIconModel tray;
  EXPECT_EQ(TrayIconModel::Hint(), "Voxmere!");
  EXPECT_EQ(tray.Picture(), TrayPicture::kTrayDefault);
  EXPECT_FALSE(tray.IconVisible());
  EXPECT_EQ(tray.Tag(), 0);

  QSignalSpy pictures(&tray, &TrayIconModel::PictureChanged);
  QSignalSpy visibility(&tray, &TrayIconModel::IconVisibleChanged);
  tray.SetPicture(TrayPicture::kIdleIcon);
  tray.SetPicture(TrayPicture::kIdleIcon);  // the tray is told again
  EXPECT_EQ(pictures.size(), 2);
  EXPECT_EQ(tray.Picture(), TrayPicture::kIdleIcon);

  tray.SetIconVisible(true);
  tray.SetIconVisible(true);
  tray.SetIconVisible(false);
  ASSERT_EQ(visibility.size(), 2);
  EXPECT_EQ(visibility[0][0].toBool(), true);
  EXPECT_EQ(visibility[1][0].toBool(), false);
}

TEST(TrayModelTest, MenuEntriesDefaultAndHotKeyTexts) {
  FakeKeyNames key_names;
  GeneralPage general(key_names);
  TrayMenuModel menu(general);

  QStringList names, captions;
  for (const MenuEntry* entry : menu.Entries()) {
    names << entry->objectName();
    captions << entry->Caption();
  }
  EXPECT_EQ(names, QStringList({"Options1", "Configurevoiceslots1", "N1", "Stopreading1", "N2",
                                "Help1", "Website1", "About1", "N3", "Exit1"}));
  EXPECT_EQ(captions, QStringList({"Options...", "Configure Voice Slots...", "-", "Stop reading",
                                   "-", "Help", "Official Website", "About...", "-", "Exit"}));
  EXPECT_EQ(menu.DefaultEntry(), &menu.options);
  EXPECT_FALSE(menu.stop_reading.Enabled());
  EXPECT_TRUE(menu.exit.Enabled());

  // The texts are read when asked: a hot key changed later shows.
  EXPECT_EQ(menu.RightText(menu.options), "");
  general.options_key_field.SetShortcut(kScCtrl | 0x7A);  // Ctrl+F11
  general.stop_key_field.SetShortcut(kScShift | kScAlt | 'S');
  general.reading_key_field.SetShortcut(kScCtrl | 'R');
  EXPECT_EQ(menu.RightText(menu.options), "Ctrl+F11");
  EXPECT_EQ(menu.RightText(menu.stop_reading), "Shift+Alt+S");
  for (const MenuEntry* entry : {&menu.configure_slots, &menu.separator1, &menu.exit}) {
    EXPECT_EQ(menu.RightText(*entry), "") << entry->objectName().toStdString();
  }
}

TEST(TrayModelTest, GeneralPageHotKeys) {
  FakeKeyNames key_names;
  GeneralPage general(key_names);
  EXPECT_EQ(general.reading_key_field.objectName(), "Reading_HotKey");
  EXPECT_EQ(general.options_key_field.objectName(), "Options_HotKey");
  EXPECT_EQ(general.stop_key_field.objectName(), "Stop_HotKey");
  // Alt+Ins until the first settings load; the others start empty.
  EXPECT_EQ(general.reading_key_field.Shortcut(), 32813);
  EXPECT_EQ(general.reading_key_field.Text(), "Alt+Ins");
  EXPECT_EQ(general.options_key_field.Shortcut(), 0);
  EXPECT_EQ(general.stop_key_field.Text(), "");
  EXPECT_FALSE(general.load_at_startup.Checked());
  EXPECT_TRUE(general.minimize_to_tray.Checked());
}

}  // namespace
}  // namespace voxmere
