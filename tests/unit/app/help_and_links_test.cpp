// SPDX-License-Identifier: GPL-3.0-or-later
// Where each help request and each link of the program leads, with and
// without addresses built in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "app_fixture.h"

namespace voxmere {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const ProjectLinks kPackaged{QStringLiteral("https://www.example.net/voxmere/"),
                             QStringLiteral("https://example.net/voxmere/about"),
                             QStringLiteral("mailto:help@example.net?subject=Voxmere"),
                             QStringLiteral("https://example.net/engines")};

class HelpAndLinksTest : public ::testing::Test {
 protected:
  OptionsWindow& Start(const ProjectLinks& addresses) {
    fixture_.paths.addresses = addresses;
    fixture_.WriteCfg(QStringLiteral("[General]\nFirstRun=0\n"));
    return fixture_.Start();
  }
  // Every link of the tray menu and the About page, in this order.
  static void ClickEveryLink(OptionsWindow& window) {
    window.tray_menu.website.Click();
    window.about.OpenMakerWebsite();
    window.about.OpenProgramPage();
    window.about.OpenSupportMail();
  }
  AppFixture fixture_;
};

TEST_F(HelpAndLinksTest, HelpButtonOpensThePageTopicAndTheTrayTheIntroduction) {
  OptionsWindow& window = Start(ProjectLinks{});
  for (int page = OptionsWindow::kGeneral; page <= OptionsWindow::kAbout; ++page) {
    window.pages.SetActivePageIndex(page);
    window.HelpClicked();
  }
  window.tray_menu.help.Click();
  // Nothing for the About page.
  EXPECT_THAT(
      fixture_.help.topics,
      ElementsAre(HelpTopic::kConfiguringKeys, HelpTopic::kReadingText, HelpTopic::kVoiceSlots,
                  HelpTopic::kPronunciation, HelpTopic::kIntroduction));
}

TEST_F(HelpAndLinksTest, WithoutAddressesEveryLinkOpensTheHelp) {
  OptionsWindow& window = Start(ProjectLinks{});
  ClickEveryLink(window);
  EXPECT_THAT(fixture_.links.opened, IsEmpty());
  EXPECT_THAT(fixture_.help.topics, ElementsAre(HelpTopic::kIntroduction, HelpTopic::kIntroduction,
                                                HelpTopic::kIntroduction, HelpTopic::kGettingHelp));
  EXPECT_EQ(window.about.LinkText(0), "Voxmere help");
  EXPECT_EQ(ProjectLinks{}.SupportContact(), "the Voxmere developers");
}

TEST_F(HelpAndLinksTest, BuiltInAddressesAreOpenedAsGiven) {
  OptionsWindow& window = Start(kPackaged);
  ClickEveryLink(window);
  EXPECT_THAT(fixture_.help.topics, IsEmpty());
  EXPECT_THAT(fixture_.links.opened,
              ElementsAreArray(std::vector<QString>{kPackaged.homepage, kPackaged.homepage,
                                                    kPackaged.program_page, kPackaged.support}));
  EXPECT_EQ(window.about.LinkText(0), "www.example.net");
  // The mail link's address alone names whom to ask.
  EXPECT_EQ(kPackaged.SupportContact(), "help@example.net");
  ProjectLinks web_support;
  web_support.support = QStringLiteral("https://example.net/support");
  EXPECT_EQ(web_support.SupportContact(), web_support.support);
}

}  // namespace
}  // namespace voxmere
