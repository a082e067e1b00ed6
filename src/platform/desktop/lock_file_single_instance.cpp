// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/lock_file_single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QtGlobal>
#include <cerrno>
#include <utility>

#include "platform/desktop/desktop_log.h"

namespace voxmere {
namespace {

const QString kLockFileName = QStringLiteral("voxmere.lock");

// Creates `path` as a folder only this user can enter, or accepts it when it
// already is one. A symbolic link or another user's folder is refused.
bool EnsurePrivateFolder(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (::lstat(native.constData(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return false;
  if ((info.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0) return false;
  return true;
}

}  // namespace

QString DefaultInstanceLockPath() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) {
    return QDir(runtime).filePath(kLockFileName);
  }
  const QString folder =
      QDir(QDir::tempPath()).filePath(QStringLiteral("voxmere-%1").arg(::getuid()));
  if (!EnsurePrivateFolder(folder)) {
    qCWarning(DesktopLog,
              "No place for the single-instance lock: XDG_RUNTIME_DIR is unusable and %s is not "
              "a private folder of ours",
              qUtf8Printable(folder));
    return QString();
  }
  return QDir(folder).filePath(kLockFileName);
}

LockFileSingleInstance::LockFileSingleInstance()
    : LockFileSingleInstance(DefaultInstanceLockPath()) {}

LockFileSingleInstance::LockFileSingleInstance(QString lock_path)
    : lock_path_(std::move(lock_path)) {}

LockFileSingleInstance::~LockFileSingleInstance() = default;

SingleInstance::Result LockFileSingleInstance::Claim() {
  if (lock_ && lock_->isLocked()) return Result::kFirst;
  if (lock_path_.isEmpty()) {
    qCWarning(DesktopLog, "Another running copy was not looked for: there is no lock file");
    return Result::kUnchecked;
  }
  lock_ = std::make_unique<QLockFile>(lock_path_);
  // A live holder keeps an flock on the file, so the stale-lock heuristics
  // (age, process name) can only ever remove the lock of a dead process.
  if (lock_->tryLock(0)) return Result::kFirst;
  if (lock_->error() == QLockFile::LockFailedError) return Result::kAlreadyRunning;
  qCWarning(DesktopLog, "Another running copy was not looked for: the lock %s cannot be %s",
            qUtf8Printable(lock_path_),
            lock_->error() == QLockFile::PermissionError ? "created (no permission)" : "used");
  return Result::kUnchecked;
}

}  // namespace voxmere
