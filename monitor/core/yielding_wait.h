#pragma once
// The link's waits: events run in every pass (port events, timer ticks and
// user commands arrive inside a wait), and a pass that finds nothing ready
// blocks about 1 ms instead of spinning.
#include <cstdint>
#include <functional>

namespace monitor {

// True as soon as `done` holds; false when `expired` holds first.
bool WaitYielding(const std::function<bool()>& done, const std::function<bool()>& expired);

// An end time on the monotonic clock, for the bounded waits that must not
// move the link's shared time-out.
class Deadline {
 public:
  explicit Deadline(int64_t micros);
  bool Passed() const;

 private:
  int64_t end_;
};

}  // namespace monitor
