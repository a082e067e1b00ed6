// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/help_file_locator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace voxmere {
namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(LocateHelpFile, FindsTheFileBesideTheProgramFirstThenTheInstalledOne) {
  const struct {
    const char* name;
    std::vector<const char*> files;  // made under the temporary folder
    const char* expected;            // relative to it; empty: none found
  } cases[] = {
      {"none", {}, ""},
      {"beside", {"bin/voxmere.qch"}, "bin/voxmere.qch"},
      {"installed", {"share/voxmere/voxmere.qch"}, "share/voxmere/voxmere.qch"},
      {"both", {"bin/voxmere.qch", "share/voxmere/voxmere.qch"}, "bin/voxmere.qch"},
      {"a folder of that name is no file", {"bin/voxmere.qch/x"}, ""},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QDir().mkpath(root.filePath(QStringLiteral("bin")));
    for (const char* file : test.files) Touch(root.filePath(QString::fromLatin1(file)));
    const QString expected =
        *test.expected ? QDir::cleanPath(root.filePath(QString::fromLatin1(test.expected)))
                       : QString();
    EXPECT_EQ(LocateHelpFile(root.filePath(QStringLiteral("bin"))).toStdString(),
              expected.toStdString());
  }
}

}  // namespace
}  // namespace voxmere
