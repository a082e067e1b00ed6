// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/window_help_viewer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <stdexcept>

#include "fakes/fake_message_boxes.h"
#include "platform/help/help_file_locator.h"
#include "platform/help/help_topic_pages.h"
#include "platform/help/help_window_module.h"
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
QList<QUrl> LinksOf(QTextBrowser& browser) {
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

// The page view of the help window.
QTextBrowser& Browser(QWidget& window) {
  auto* browser = window.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
  if (browser == nullptr) throw std::runtime_error("no page view in the help window");
  return *browser;
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

  // The help window after the request; the test ends at once without one.
  QWidget& ShowTopic(HelpTopic topic) {
    viewer.ShowTopic(topic);
    if (viewer.Window() == nullptr) throw std::runtime_error("no help window");
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
  QWidget* first = nullptr;
  for (const auto& test : topics) {
    SCOPED_TRACE(test.title);
    QWidget& window = ShowTopic(test.topic);
    if (first == nullptr) first = &window;
    EXPECT_EQ(&window, first);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString::fromLatin1(test.title) + " - Voxmere! Help");
    QTextBrowser& browser = Browser(window);
    EXPECT_EQ(browser.documentTitle(), QString::fromLatin1(test.title));
    // The stylesheet came out of the help file too.
    EXPECT_FALSE(
        browser.loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("style.css")))
            .toByteArray()
            .isEmpty());
  }
  EXPECT_TRUE(messages.Boxes().empty());
  viewer.CloseAll();
  EXPECT_EQ(viewer.Window(), nullptr);
}

TEST_F(WindowHelpViewerTest, EveryLinkBetweenTopicsLeadsToAPageWithATitle) {
  QTextBrowser& browser = Browser(ShowTopic(HelpTopic::kIntroduction));
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
  QWidget& window = ShowTopic(HelpTopic::kIntroduction);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTextBrowser& browser = Browser(window);
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

// Whether Qt last told the help window that a modal window blocks its input.
class HelpWindowBlocked : public QObject {
 public:
  bool blocked = false;
  bool eventFilter(QObject* object, QEvent* event) override {
    if (object->objectName() == QLatin1String("HelpWindow")) {
      if (event->type() == QEvent::WindowBlocked) blocked = true;
      if (event->type() == QEvent::WindowUnblocked) blocked = false;
    }
    return false;
  }
};

TEST_F(WindowHelpViewerTest, HelpAskedForFromAModalEditorTakesInputWhileTheEditorIsOpen) {
  HelpWindowBlocked watch;
  App().installEventFilter(&watch);
  for (bool first_request : {true, false}) {
    SCOPED_TRACE(first_request ? "help window made" : "help window shown again");
    if (!first_request) viewer.Window()->hide();
    // The slot and word editors are application modal while open.
    QDialog editor;
    editor.setModal(true);
    editor.show();
    ShowTopic(HelpTopic::kVoiceSlots);
    QCoreApplication::processEvents();
    EXPECT_FALSE(watch.blocked);
  }
  App().removeEventFilter(&watch);
}

TEST_F(WindowHelpViewerTest, AddressesOfTheWebGoToTheDesktopAndLeaveThePage) {
  OpenedUrls opened;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &opened, "Open");
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &opened, "Open");
  QTextBrowser& browser = Browser(ShowTopic(HelpTopic::kGettingHelp));
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

// A program's folder of its own, with copies of the built help file and
// module as a test wants them.
struct ProgramFolder {
  QTemporaryDir root;
  QString Copy(const char* built_name, const QString& as) {
    const QString target = root.filePath(as);
    QDir().mkpath(QFileInfo(target).path());
    if (!QFile::copy(QDir(BuiltHelpFolder()).filePath(QLatin1String(built_name)), target)) {
      ADD_FAILURE() << "cannot copy " << built_name;
    }
    return target;
  }
  QString Bin() const { return root.filePath(QStringLiteral("bin")); }
};

TEST_F(WindowHelpViewerTest, AHelpFileDeletedAfterStartShowsTheSupportMessageAtEachRequest) {
  // The installed layout: bin/voxmere, share/voxmere/, lib/voxmere/.
  ProgramFolder program;
  QDir().mkpath(program.Bin());
  const QString help_file =
      program.Copy(kHelpFileName, QStringLiteral("share/voxmere/voxmere.qch"));
  program.Copy(kHelpModuleFileName, QStringLiteral("lib/voxmere/") + kHelpModuleFileName);
  WindowHelpViewer local(messages, kSupport, program.Bin());
  QObject requester;

  local.ShowTopic(HelpTopic::kVoiceSlots, &requester);
  ASSERT_NE(local.Window(), nullptr);
  EXPECT_TRUE(messages.Boxes().empty());

  ASSERT_TRUE(QFile::remove(help_file));
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

TEST_F(WindowHelpViewerTest, HelpThatCannotBeShownCountsAsMissing) {
  const struct {
    const char* name;
    bool help_file;
    bool broken_help_file;
    bool module;
  } cases[] = {
      {"no help file", false, false, true},
      {"a help file that is none", false, true, true},
      {"no module for the window", true, false, false},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    messages.Clear();
    ProgramFolder program;
    QDir().mkpath(program.Bin());
    const QString help_file = QDir(program.Bin()).filePath(kHelpFileName);
    if (test.help_file) program.Copy(kHelpFileName, QStringLiteral("bin/") + kHelpFileName);
    if (test.broken_help_file) {
      QFile broken(help_file);
      ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
      broken.write("not a help file");
    }
    if (test.module) {
      program.Copy(kHelpModuleFileName, QStringLiteral("bin/") + kHelpModuleFileName);
    }
    WindowHelpViewer local(messages, kSupport, program.Bin());
    local.ShowTopic(HelpTopic::kIntroduction);
    EXPECT_EQ(local.Window(), nullptr);
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text, WindowHelpViewer::MissingMessage(kSupport));
  }
}

}  // namespace
}  // namespace voxmere

#include "window_help_viewer_test.moc"
