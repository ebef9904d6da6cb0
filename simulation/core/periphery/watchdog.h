#pragma once
// A watchdog: a counter stepped at one of the prescaler's events, held while
// switched off, cleared by the program; it fires when the count reaches the
// threshold and starts again from 0. What firing does (reset at once inside
// the tick, or a flag the run loop handles) is the chip's decision.
namespace periphery {

struct WatchdogConfig {
  int threshold;  // the step that reaches this count fires
};

class Watchdog {
 public:
  explicit constexpr Watchdog(WatchdogConfig config) : config_(config) {}

  constexpr void reset() { count_ = 0; off_ = false; }
  constexpr void clear() { count_ = 0; }
  constexpr void setOff(bool off) { off_ = off; }

  // One step; true when the watchdog fires.
  constexpr bool step() {
    if (off_) return false;
    if (++count_ < config_.threshold) return false;
    count_ = 0;
    return true;
  }

  constexpr int count() const { return count_; }
  constexpr bool off() const { return off_; }

 private:
  WatchdogConfig config_;
  int count_ = 0;
  bool off_ = false;
};

}  // namespace periphery
