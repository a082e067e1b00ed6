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
                                "Website1", "About1", "N3", "Exit1"}));
  EXPECT_EQ(captions, QStringList({"Options...", "Configure Voice Slots...", "-", "Stop reading",
                                   "-", "Official Website", "About...", "-", "Exit"}));
  EXPECT_EQ(menu.DefaultEntry(), &menu.Options1);
  EXPECT_FALSE(menu.Stopreading1.Enabled());
  EXPECT_TRUE(menu.Exit1.Enabled());

  // The texts are read when asked: a hot key changed later shows.
  EXPECT_EQ(menu.RightText(menu.Options1), "");
  general.Options_HotKey.SetShortcut(kScCtrl | 0x7A);  // Ctrl+F11
  general.Stop_HotKey.SetShortcut(kScShift | kScAlt | 'S');
  general.Reading_HotKey.SetShortcut(kScCtrl | 'R');
  EXPECT_EQ(menu.RightText(menu.Options1), "Ctrl+F11");
  EXPECT_EQ(menu.RightText(menu.Stopreading1), "Shift+Alt+S");
  for (const MenuEntry* entry : {&menu.Configurevoiceslots1, &menu.N1, &menu.Exit1}) {
    EXPECT_EQ(menu.RightText(*entry), "") << entry->objectName().toStdString();
  }
}

TEST(TrayModelTest, GeneralPageHotKeysAndAboutLinks) {
  FakeKeyNames key_names;
  GeneralPage general(key_names);
  EXPECT_EQ(general.Reading_HotKey.objectName(), "Reading_HotKey");
  EXPECT_EQ(general.Options_HotKey.objectName(), "Options_HotKey");
  EXPECT_EQ(general.Stop_HotKey.objectName(), "Stop_HotKey");
  // Alt+Ins until the first settings load; the others start empty.
  EXPECT_EQ(general.Reading_HotKey.Shortcut(), 32813);
  EXPECT_EQ(general.Reading_HotKey.Text(), "Alt+Ins");
  EXPECT_EQ(general.Options_HotKey.Shortcut(), 0);
  EXPECT_EQ(general.Stop_HotKey.Text(), "");
  EXPECT_FALSE(general.LoadAtStartup_CheckBox.Checked());
  EXPECT_TRUE(general.MinimizeToTray_CheckBox.Checked());

  EXPECT_EQ(AboutPage::LinkText(0), "voxmere.org");
  EXPECT_EQ(AboutPage::LinkText(1), "Program information");
  EXPECT_EQ(AboutPage::LinkText(2), "Technical support");
  EXPECT_EQ(AboutPage::LinkText(3), "");
}

}  // namespace
}  // namespace voxmere
