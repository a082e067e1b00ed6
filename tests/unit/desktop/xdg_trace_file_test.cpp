// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/xdg_trace_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/desktop/xdg_folders.h"
#include "scoped_environment.h"

namespace voxmere {
namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(XdgTraceFileTest, AppendsOneStampedLinePerEvent) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("state/voxmere/debug.txt");
  QTime now(20, 15, 38);
  XdgTraceFile trace(path, [&now] { return now; });

  trace.WriteTrace("FormCloseQuery");  // creates both folders and the file
  now = QTime(7, 5, 9, 999);
  trace.WriteTrace("WMQueryEndSession");
  EXPECT_EQ(ReadBytes(path), "FormCloseQuery 20:15:38\nWMQueryEndSession 07:05:09\n");

  // A later run appends; the file is never truncated.
  XdgTraceFile next_run(path, [] { return QTime(0, 0, 0); });
  next_run.WriteTrace("BeforeCloseActions");
  EXPECT_EQ(ReadBytes(path),
            "FormCloseQuery 20:15:38\nWMQueryEndSession 07:05:09\nBeforeCloseActions 00:00:00\n");
}

TEST(XdgTraceFileTest, UnwritableTraceIsSkippedSilently) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile blocker(folder.filePath("state"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();

  // The folder cannot be made (its parent is a file), nor can a file stand
  // where a folder is.
  XdgTraceFile blocked(folder.filePath("state/voxmere/debug.txt"), [] { return QTime(1, 2, 3); });
  blocked.WriteTrace("FormCloseQuery");
  XdgTraceFile onto_folder(folder.path(), [] { return QTime(1, 2, 3); });
  onto_folder.WriteTrace("FormCloseQuery");
  EXPECT_EQ(QFileInfo(folder.filePath("state")).size(), 0);
  EXPECT_TRUE(QFileInfo(folder.path()).isDir());
}

TEST(XdgTraceFileTest, DefaultPathFollowsXdgStateHome) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  ScopedEnvironment environment;
  environment.Set("HOME", home.path().toUtf8());
  environment.Set("XDG_STATE_HOME", home.filePath("state").toUtf8());
  EXPECT_EQ(DefaultTraceFilePath(), home.filePath("state/voxmere/debug.txt"));
  XdgTraceFile trace;
  EXPECT_EQ(trace.FilePath(), home.filePath("state/voxmere/debug.txt"));
  trace.WriteTrace("FormCloseQuery");
  const QByteArray line = ReadBytes(home.filePath("state/voxmere/debug.txt"));
  EXPECT_TRUE(QRegularExpression("^FormCloseQuery \\d\\d:\\d\\d:\\d\\d\\n$")
                  .match(QString::fromUtf8(line))
                  .hasMatch())
      << line.toStdString();

  for (const char* unusable : {"", "state/relative"}) {
    environment.Set("XDG_STATE_HOME", unusable);
    EXPECT_EQ(DefaultTraceFilePath(), home.filePath(".local/state/voxmere/debug.txt")) << unusable;
  }
  environment.Unset("XDG_STATE_HOME");
  EXPECT_EQ(DefaultTraceFilePath(), home.filePath(".local/state/voxmere/debug.txt"));
}

}  // namespace
}  // namespace voxmere
