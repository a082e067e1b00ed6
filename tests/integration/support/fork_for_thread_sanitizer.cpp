// SPDX-License-Identifier: GPL-3.0-or-later
// Built into the integration test programs of the ThreadSanitizer build only.
//
// Qt starts a program (QProcess) the vfork way: clone() with CLONE_VM and
// CLONE_VFORK, the child running on the parent's memory until it executes
// the program. ThreadSanitizer's clone() hook prepares the child as after a
// fork, and with the memory shared it does so to the parent's own state: the
// parent's later locks go unseen (so it reports races that are none) and its
// next new thread ends the process. Here such a clone() becomes a plain fork,
// which the hook handles: the child gets a copy of the memory, runs the same
// function and reports a failed start through Qt's pipe as before.
#include <dlfcn.h>
#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

extern "C" int clone(int (*function)(void*), void* stack, int flags, void* argument, ...) {
  // The optional arguments, read as glibc reads them.
  va_list rest;
  va_start(rest, argument);
  pid_t* parent_tid = va_arg(rest, pid_t*);
  void* tls = va_arg(rest, void*);
  pid_t* child_tid = va_arg(rest, pid_t*);
  va_end(rest);

  using Clone = int (*)(int (*)(void*), void*, int, void*, ...);
  static const auto next = reinterpret_cast<Clone>(dlsym(RTLD_NEXT, "clone"));
  constexpr int kVforkStyle = CLONE_VM | CLONE_VFORK;
  if ((flags & kVforkStyle) == kVforkStyle) flags &= ~kVforkStyle;
  return next(function, stack, flags, argument, parent_tid, tls, child_tid);
}
