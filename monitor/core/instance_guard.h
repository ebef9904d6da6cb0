#pragma once
// The instance guard: one monitor per user at a time.
#include <QLockFile>
#include <memory>

namespace monitor {

// Takes the one-instance lock "Tavix.lock" in the link folder; a stale lock
// of a process that is gone is taken over. Null when another instance holds
// it; the lock is held for as long as the one returned lives.
std::unique_ptr<QLockFile> AcquireInstanceLock();

}  // namespace monitor
