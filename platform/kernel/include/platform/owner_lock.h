#pragma once
// Owner locks: a process takes an exclusive lock (flock) on a file or folder
// it makes as soon as it has made it, and holds it until it has removed the
// file or put it in its place. The lock dies with its process, so a file
// whose lock can be taken was left by a process that is gone (an orphan) or
// is in the moment between its making and its locking; its maker then finds
// the name lost and makes another.

namespace platform {

enum class OwnerLock {
  kHeld,         // the lock is ours and the name still names the file
  kBusy,         // a living process holds the lock (only without waiting)
  kLost,         // the name went or names another file since; the lock is dropped
  kUnsupported,  // the file system has no locks: the file stays unlocked
};

// Locks `fd` as the owner of `name` in the folder `dir` (AT_FDCWD: `name` is
// a path), waiting for the lock when `wait`. The name is checked without
// following a link unless `follow`.
OwnerLock LockAsOwner(int fd, int dir, const char* name, bool wait, bool follow = false);

// Opens `name` in `dir` with `flags` (never through a link, never blocking)
// and takes its lock without waiting. Returns the descriptor, which holds the
// lock until it is closed, when no living process owns the file and `name`
// still names it; else -1.
int ClaimOrphan(int dir, const char* name, int flags);

}  // namespace platform
