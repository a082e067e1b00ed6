// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "platform/startup_entry.h"

namespace voxmere {

// The start-up entry in memory. Writes and removals can be made to fail as a
// full disk or a read-only folder would (voxmere::Exception, entry unchanged).
class FakeStartupEntry : public StartupEntry {
 public:
  bool Exists() const override { return exists_; }
  void Write(const QString& program_path) override;
  void Remove() override;

  // Sets the entry up as if the user or an earlier run had left it.
  void Preset(bool exists, const QString& program_path = QString()) {
    exists_ = exists;
    program_path_ = program_path;
  }
  void FailWrites(bool fail) { fail_writes_ = fail; }
  void FailRemoves(bool fail) { fail_removes_ = fail; }

  // The program path of the last successful write.
  const QString& ProgramPath() const { return program_path_; }
  // "Write <path>" and "Remove", failed calls included.
  const QStringList& Calls() const { return calls_; }

 private:
  bool exists_ = false;
  QString program_path_;
  bool fail_writes_ = false;
  bool fail_removes_ = false;
  QStringList calls_;
};

}  // namespace voxmere
