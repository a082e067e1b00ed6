// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_startup_entry.h"

#include "platform/exception.h"

namespace voxmere {

void FakeStartupEntry::Write(const QString& program_path) {
  calls_.push_back(QStringLiteral("Write ") + program_path);
  if (fail_writes_) throw Exception(QStringLiteral("Cannot write the start-up entry."));
  exists_ = true;
  program_path_ = program_path;
}

void FakeStartupEntry::Remove() {
  calls_.push_back(QStringLiteral("Remove"));
  if (fail_removes_ && exists_)
    throw Exception(QStringLiteral("Cannot remove the start-up entry."));
  exists_ = false;
  program_path_.clear();
}

}  // namespace voxmere
