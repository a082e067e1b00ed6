// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/window_help_viewer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include "fakes/fake_message_boxes.h"
#include "platform/help/help_browser.h"
#include "platform/help/help_topic_pages.h"
#include "platform/help/help_window.h"
#include "support/test_application.h"
#include "support/wait_until.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace voxmere {
namespace {

const QString kSupport = QStringLiteral("the project's issue tracker");

QApplication& App() { return test_support::TestApplication<QApplication>("offscreen"); }

QString BuiltHelpFolder() {
  return QFileInfo(QStringLiteral(VOXMERE_BUILT_HELP_FILE)).absolutePath();
}

// Every link target of the page the browser shows, resolved against it.
QList<QUrl> LinksOf(HelpBrowser& browser) {
  QList<QUrl> links;
  for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (!format.isAnchor()) continue;
      const QUrl href(format.anchorHref());
      const QUrl target = href.isRelative() ? browser.source().resolved(href) : href;
      if (links.isEmpty() || links.last() != target) links << target;
    }
  }
  return links;
}

// Records the addresses QDesktopServices is asked to open.
class OpenedUrls : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls << url; }
};

class WindowHelpViewerTest : public ::testing::Test {
 protected:
  WindowHelpViewerTest() { App(); }
  ~WindowHelpViewerTest() override { viewer.CloseAll(); }

  HelpWindow& ShowTopic(HelpTopic topic) {
    viewer.ShowTopic(topic);
    if (viewer.Window() == nullptr) ADD_FAILURE() << "no help window";
    return *viewer.Window();
  }

  FakeMessageBoxes messages;
  WindowHelpViewer viewer{messages, kSupport, BuiltHelpFolder()};
};

TEST_F(WindowHelpViewerTest, OpensEachTopicAtItsOwnPageInOneWindow) {
  const struct {
    HelpTopic topic;
    const char* title;
  } topics[] = {
      {HelpTopic::kIntroduction, "Introduction"},
      {HelpTopic::kConfiguringKeys, "Configuring keys"},
      {HelpTopic::kReadingText, "Reading text from any application"},
      {HelpTopic::kVoiceSlots, "Working with voice slots"},
      {HelpTopic::kPronunciation, "Correcting pronunciation"},
      {HelpTopic::kInstallingEngines, "Installing speech engines"},
      {HelpTopic::kGettingHelp, "Getting help"},
  };
  EXPECT_EQ(viewer.Window(), nullptr) << "made before the first request";
  HelpWindow* first = nullptr;
  for (const auto& test : topics) {
    SCOPED_TRACE(test.title);
    HelpWindow& window = ShowTopic(test.topic);
    if (first == nullptr) first = &window;
    EXPECT_EQ(&window, first);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Voxmere! Help");
    EXPECT_EQ(window.Browser().documentTitle(), QString::fromLatin1(test.title));
    // The stylesheet came out of the help file too.
    EXPECT_FALSE(
        window.Browser()
            .loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("style.css")))
            .toByteArray()
            .isEmpty());
  }
  EXPECT_TRUE(messages.Boxes().empty());
  viewer.CloseAll();
  EXPECT_EQ(viewer.Window(), nullptr);
}

TEST_F(WindowHelpViewerTest, EveryLinkBetweenTopicsLeadsToAPageWithATitle) {
  HelpBrowser& browser = ShowTopic(HelpTopic::kIntroduction).Browser();
  QSet<QUrl> followed;
  for (HelpTopic topic : kAllHelpTopics) {
    const QUrl page = HelpPageUrl(HelpTopicPage(topic));
    browser.setSource(page);
    for (const QUrl& link : LinksOf(browser)) {
      if (link.scheme() != QLatin1String("qthelp")) continue;
      SCOPED_TRACE(page.toString().toStdString() + " -> " + link.toString().toStdString());
      browser.setSource(link);
      EXPECT_EQ(browser.source(), link);
      EXPECT_FALSE(browser.documentTitle().isEmpty());
      EXPECT_FALSE(browser.toPlainText().trimmed().isEmpty());
      followed << link.adjusted(QUrl::RemoveFragment);
      browser.setSource(page);
    }
  }
  // Between them the pages link to every topic.
  for (HelpTopic topic : kAllHelpTopics) {
    EXPECT_TRUE(followed.contains(HelpPageUrl(HelpTopicPage(topic))))
        << HelpTopicPage(topic).toStdString();
  }
}

TEST_F(WindowHelpViewerTest, BackAndForwardWalkTheHistoryByButtonAndKey) {
  HelpWindow& window = ShowTopic(HelpTopic::kIntroduction);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  HelpBrowser& browser = window.Browser();
  auto* back = window.findChild<QPushButton*>(QStringLiteral("Back_Button"));
  auto* forward = window.findChild<QPushButton*>(QStringLiteral("Forward_Button"));
  ASSERT_NE(back, nullptr);
  ASSERT_NE(forward, nullptr);
  EXPECT_FALSE(back->isEnabled());
  // A help request in between is a step of the history too.
  viewer.ShowTopic(HelpTopic::kVoiceSlots);
  EXPECT_TRUE(back->isEnabled());
  EXPECT_FALSE(forward->isEnabled());

  back->click();
  EXPECT_EQ(browser.documentTitle(), "Introduction");
  EXPECT_TRUE(forward->isEnabled());
  forward->click();
  EXPECT_EQ(browser.documentTitle(), "Working with voice slots");

  // The keys click the buttons, which show the click before acting on it.
  const auto title_becomes = [&browser](const char* title) {
    return test_support::WaitUntil([&] { return browser.documentTitle() == QLatin1String(title); },
                                   std::chrono::seconds(5));
  };
  QTest::keyClick(&browser, Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(title_becomes("Introduction"));
  QTest::keyClick(&browser, Qt::Key_Right, Qt::AltModifier);
  EXPECT_TRUE(title_becomes("Working with voice slots"));
}

TEST_F(WindowHelpViewerTest, AddressesOfTheWebGoToTheDesktopAndLeaveThePage) {
  OpenedUrls opened;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &opened, "Open");
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &opened, "Open");
  HelpBrowser& browser = ShowTopic(HelpTopic::kGettingHelp).Browser();
  const QUrl page = browser.source();
  const QList<QUrl> external = {QUrl(QStringLiteral("https://example.invalid/voxmere")),
                                QUrl(QStringLiteral("mailto:someone@example.invalid"))};
  for (const QUrl& url : external) browser.setSource(url);
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
  EXPECT_EQ(opened.urls, external);
  EXPECT_EQ(browser.source(), page);
  EXPECT_EQ(browser.documentTitle(), "Getting help");
}

TEST_F(WindowHelpViewerTest, AMissingHelpFileShowsTheSupportMessageAtEachRequest) {
  QTemporaryDir program_dir;
  ASSERT_TRUE(program_dir.isValid());
  const QString copy = program_dir.filePath(QStringLiteral("voxmere.qch"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(VOXMERE_BUILT_HELP_FILE), copy));
  WindowHelpViewer local(messages, kSupport, program_dir.path());
  QObject requester;

  local.ShowTopic(HelpTopic::kVoiceSlots, &requester);
  ASSERT_NE(local.Window(), nullptr);
  EXPECT_TRUE(messages.Boxes().empty());

  // Deleted while the program runs: the window stays as it is, and every
  // request from then on says the file is missing.
  ASSERT_TRUE(QFile::remove(copy));
  for (HelpTopic topic : {HelpTopic::kIntroduction, HelpTopic::kPronunciation}) {
    local.ShowTopic(topic, &requester);
  }
  ASSERT_EQ(messages.Boxes().size(), 2u);
  for (const FakeMessageBoxes::Shown& box : messages.Boxes()) {
    EXPECT_EQ(box.kind, MessageBoxes::Kind::kPlain);
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::kOk);
    EXPECT_EQ(box.parent, &requester);
    EXPECT_EQ(box.text,
              "Sorry, but the help file of Voxmere is missing.\rPlease, consult the project's "
              "issue tracker and we'll send you another help file.");
  }
  local.CloseAll();
}

TEST_F(WindowHelpViewerTest, AFileThatIsNoHelpFileCountsAsMissing) {
  QTemporaryDir program_dir;
  ASSERT_TRUE(program_dir.isValid());
  QFile broken(program_dir.filePath(QStringLiteral("voxmere.qch")));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a help file");
  broken.close();
  WindowHelpViewer local(messages, kSupport, program_dir.path());
  local.ShowTopic(HelpTopic::kIntroduction);
  EXPECT_EQ(local.Window(), nullptr);
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].text, WindowHelpViewer::MissingMessage(kSupport));
}

}  // namespace
}  // namespace voxmere

#include "window_help_viewer_test.moc"
