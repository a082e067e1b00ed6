// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/lock_file_single_instance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <array>
#include <functional>

#include "scoped_environment.h"

namespace voxmere {
namespace {

using Result = SingleInstance::Result;

// A pipe whose ends close with the object.
struct Pipe {
  Pipe() { EXPECT_EQ(::pipe(fds.data()), 0); }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  void CloseRead() {
    if (fds[0] >= 0) ::close(fds[0]);
    fds[0] = -1;
  }
  void CloseWrite() {
    if (fds[1] >= 0) ::close(fds[1]);
    fds[1] = -1;
  }
  int read_end() const { return fds[0]; }
  int write_end() const { return fds[1]; }
  std::array<int, 2> fds{-1, -1};
};

// Blocks until the other side writes or closes.
void WaitOn(int fd) {
  char byte;
  while (::read(fd, &byte, 1) < 0 && errno == EINTR) {
  }
}

// Reads one byte within a generous deadline; -1 when none came.
int ReadByte(int fd) {
  pollfd waiting{fd, POLLIN, 0};
  if (::poll(&waiting, 1, 20000) != 1) return -1;
  char byte;
  return ::read(fd, &byte, 1) == 1 ? byte : -1;
}

// Runs `body` in a forked child that ends with `body`'s result as its exit
// status, never returning into the test.
pid_t Fork(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  return pid;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A child that claims the lock when `gate` opens, reports the result on
// `results` and holds the claim until `hold` is closed.
pid_t StartClaimer(const QString& lock_path, const Pipe& gate, const Pipe& results,
                   const Pipe& hold) {
  return Fork([&] {
    ::close(gate.write_end());
    ::close(hold.write_end());
    WaitOn(gate.read_end());
    LockFileSingleInstance instance(lock_path);
    const char result = static_cast<char>(instance.Claim());
    if (::write(results.write_end(), &result, 1) != 1) return 2;
    WaitOn(hold.read_end());
    return 0;
  });
}

TEST(LockFileSingleInstanceTest, OfTwoStartsAtOnceExactlyOneRuns) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString lock_path = folder.filePath("voxmere.lock");
  // Repeated, as a race shows only now and then.
  for (int round = 0; round < 15; ++round) {
    Pipe gate, results, hold;
    const pid_t first = StartClaimer(lock_path, gate, results, hold);
    const pid_t second = StartClaimer(lock_path, gate, results, hold);
    gate.CloseWrite();  // both children claim now
    const int a = ReadByte(results.read_end());
    const int b = ReadByte(results.read_end());
    hold.CloseWrite();
    EXPECT_EQ(ExitStatus(first), 0);
    EXPECT_EQ(ExitStatus(second), 0);
    const int first_count =
        (a == static_cast<int>(Result::kFirst)) + (b == static_cast<int>(Result::kFirst));
    const int running_count = (a == static_cast<int>(Result::kAlreadyRunning)) +
                              (b == static_cast<int>(Result::kAlreadyRunning));
    ASSERT_EQ(first_count, 1) << "round " << round << ": " << a << ", " << b;
    ASSERT_EQ(running_count, 1) << "round " << round;
    // The holder ended normally: its lock went with it.
    EXPECT_FALSE(QFile::exists(lock_path));
  }
}

TEST(LockFileSingleInstanceTest, LockOfAKilledHolderIsTakenOver) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString lock_path = folder.filePath("voxmere.lock");
  Pipe gate, results, hold;
  const pid_t holder = StartClaimer(lock_path, gate, results, hold);
  gate.CloseWrite();
  ASSERT_EQ(ReadByte(results.read_end()), static_cast<int>(Result::kFirst));

  // While it lives, nobody else runs.
  EXPECT_EQ(LockFileSingleInstance(lock_path).Claim(), Result::kAlreadyRunning);

  ASSERT_EQ(::kill(holder, SIGKILL), 0);
  EXPECT_EQ(ExitStatus(holder), 128 + SIGKILL);
  // A crash leaves the file behind; the next start takes it over.
  ASSERT_TRUE(QFile::exists(lock_path));
  LockFileSingleInstance next(lock_path);
  EXPECT_EQ(next.Claim(), Result::kFirst);
  EXPECT_EQ(next.Claim(), Result::kFirst) << "claiming again keeps the claim";

  // And it really holds it now: a later start is refused.
  const pid_t later = Fork(
      [&] { return LockFileSingleInstance(lock_path).Claim() == Result::kAlreadyRunning ? 0 : 1; });
  EXPECT_EQ(ExitStatus(later), 0);
}

TEST(LockFileSingleInstanceTest, ReleasesOnDestructionAndRunsUncheckedWithoutAFolder) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString lock_path = folder.filePath("voxmere.lock");
  {
    LockFileSingleInstance instance(lock_path);
    ASSERT_EQ(instance.Claim(), Result::kFirst);
    EXPECT_TRUE(QFile::exists(lock_path));
  }
  EXPECT_FALSE(QFile::exists(lock_path));
  EXPECT_EQ(LockFileSingleInstance(lock_path).Claim(), Result::kFirst);

  // No place for the lock: the program runs without the guard rather than
  // reporting a copy that is not there.
  EXPECT_EQ(LockFileSingleInstance("/dev/null/voxmere.lock").Claim(), Result::kUnchecked);
  EXPECT_EQ(LockFileSingleInstance(QString()).Claim(), Result::kUnchecked);
}

TEST(DefaultInstanceLockPathTest, RuntimeFolderElseAPrivateTempFolder) {
  QTemporaryDir runtime, temp;
  ASSERT_TRUE(runtime.isValid() && temp.isValid());
  ScopedEnvironment environment;
  environment.Set("TMPDIR", temp.path().toUtf8());
  const QString fallback_folder = QDir(temp.path()).filePath(QString("voxmere-%1").arg(::getuid()));

  environment.Set("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  EXPECT_EQ(DefaultInstanceLockPath(), QDir(runtime.path()).filePath("voxmere.lock"));
  EXPECT_FALSE(QFileInfo::exists(fallback_folder));

  // Relative, missing or unset: the per-user folder in the temp folder.
  for (const char* value : {"relative/run", "/nonexistent/voxmere-run", ""}) {
    environment.Set("XDG_RUNTIME_DIR", value);
    EXPECT_EQ(DefaultInstanceLockPath(), QDir(fallback_folder).filePath("voxmere.lock")) << value;
  }
  environment.Unset("XDG_RUNTIME_DIR");
  EXPECT_EQ(DefaultInstanceLockPath(), QDir(fallback_folder).filePath("voxmere.lock"));
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(fallback_folder).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  // Opened up by someone: made private again.
  ASSERT_EQ(::chmod(QFile::encodeName(fallback_folder).constData(), 0777), 0);
  EXPECT_FALSE(DefaultInstanceLockPath().isEmpty());
  ASSERT_EQ(::stat(QFile::encodeName(fallback_folder).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  // A symbolic link planted in its place is not followed.
  ASSERT_TRUE(QDir(fallback_folder).removeRecursively());
  ASSERT_TRUE(QFile::link(runtime.path(), fallback_folder));
  EXPECT_TRUE(DefaultInstanceLockPath().isEmpty());
  EXPECT_EQ(LockFileSingleInstance().Claim(), Result::kUnchecked);
}

}  // namespace
}  // namespace voxmere
