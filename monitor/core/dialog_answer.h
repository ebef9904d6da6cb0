#pragma once
// The answer of a common dialog, for every window that shows one.
#include <functional>

namespace monitor {

// Runs a common dialog whose Cancel raises the cancel error: false when it
// was cancelled. Any other error goes on to the caller.
bool DialogAnswered(const std::function<void()>& show);

}  // namespace monitor
