#pragma once
// The instance guard: one monitor per user at a time.
namespace monitor {

class MonitorState;

// Takes the one-instance lock "Tavix.lock" in the link folder; a stale lock
// of a process that is gone is taken over. False when another instance holds
// it.
bool AcquireInstanceLock(MonitorState& state);

}  // namespace monitor
