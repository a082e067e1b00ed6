// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTime>
#include <functional>

#include "platform/trace_file.h"

namespace voxmere {

// The trace file in the user's state folder, appended to and never truncated.
class XdgTraceFile : public TraceFile {
 public:
  using Clock = std::function<QTime()>;

  // The trace at DefaultTraceFilePath(), stamped with the time of day.
  XdgTraceFile();
  XdgTraceFile(QString file_path, Clock clock);

  // Appends "EVENT HH:MM:SS", creating the folder and the file when missing.
  void WriteTrace(const QString& event) override;

  const QString& FilePath() const { return file_path_; }

 private:
  QString file_path_;
  Clock clock_;
};

}  // namespace voxmere
