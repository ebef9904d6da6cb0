#include "platform/owner_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

// True when `name` in `dir` is still the file open as `fd`.
bool StillNamed(int dir, const char* name, int fd, bool follow) {
  struct stat held, named;
  return fstat(fd, &held) == 0 &&
         fstatat(dir, name, &named, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

OwnerLock LockAsOwner(int fd, int dir, const char* name, bool wait, bool follow) {
  int locked;
  while ((locked = flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB))) != 0 && errno == EINTR) {
  }
  if (locked != 0) return errno == EWOULDBLOCK ? OwnerLock::kBusy : OwnerLock::kUnsupported;
  if (StillNamed(dir, name, fd, follow)) return OwnerLock::kHeld;
  flock(fd, LOCK_UN);
  return OwnerLock::kLost;
}

int ClaimOrphan(int dir, const char* name, int flags) {
  const int fd = openat(dir, name, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(dir, name, fd, false)) return fd;
  close(fd);
  return -1;
}

}  // namespace platform
