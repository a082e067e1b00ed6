// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/desktop_web_links.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "desktop_test_environment.h"
#include "support/wait_until.h"

namespace voxmere {
namespace {

QStringList ReadLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Installs a stand-in for xdg-open that notes what it was asked to open, as
// the only program on PATH.
class FakeOpener {
 public:
  FakeOpener() : old_path_(qgetenv("PATH")) {
    EXPECT_TRUE(folder_.isValid());
    qputenv("PATH", folder_.path().toUtf8());
  }
  ~FakeOpener() { qputenv("PATH", old_path_); }

  void Install() {
    QFile script(folder_.filePath("xdg-open"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + LogPath().toUtf8() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  QString LogPath() const { return folder_.filePath("opened.log"); }

 private:
  QTemporaryDir folder_;
  QByteArray old_path_;
};

TEST(DesktopWebLinksTest, HandsAddressesToTheDesktopsOpener) {
  FakeOpener opener;
  DesktopWebLinks links;

  // No opener on this desktop: reported, and nothing hangs.
  EXPECT_FALSE(links.Open("https://voxmere.example.org/"));

  opener.Install();
  EXPECT_TRUE(links.Open("https://voxmere.example.org/program.html?from=about#top"));
  EXPECT_TRUE(links.Open("mailto:support@voxmere.example.org?subject=Voxmere%21"));
  // Not addresses: refused without starting anything.
  EXPECT_FALSE(links.Open(""));
  EXPECT_FALSE(links.Open("Program information"));
  EXPECT_FALSE(links.Open("/etc/passwd"));
  EXPECT_FALSE(links.Open("https://voxmere.example.org/a b"));

  const QStringList expected = {"https://voxmere.example.org/program.html?from=about#top",
                                "mailto:support@voxmere.example.org?subject=Voxmere%21"};
  // The opener runs detached: wait for it to write.
  EXPECT_TRUE(test_support::WaitUntil([&] { return ReadLines(opener.LogPath()).size() >= 2; },
                                      std::chrono::seconds(15)));
  QStringList opened = ReadLines(opener.LogPath());
  opened.sort();
  EXPECT_EQ(opened, expected);
}

}  // namespace
}  // namespace voxmere
