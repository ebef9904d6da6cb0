#pragma once
// A 4-bit down counter stepped by one of several prescaler inputs, with a
// start value, auto reload, and an optional synchronous load that waits for a
// later prescaler event. Where its control bits live and what reaching zero
// raises is the chip's.
namespace periphery {

class DownTimer4 {
 public:
  constexpr void reset() { *this = DownTimer4{}; }

  // Control.
  constexpr void setInput(int input) { input_ = input & 3; }
  constexpr void setAutoReload(bool on) { autoReload_ = on; }
  constexpr void setStart(int value) { start_ = value & 15; }

  // Loads the start value into the counter now.
  constexpr void load() { counter_ = start_; loadPending_ = false; }
  // Loads it at the next synchronous load point (loadIfPending).
  constexpr void requestLoad() { loadPending_ = true; }
  constexpr bool loadIfPending() {
    if (!loadPending_) return false;
    load();
    return true;
  }

  // An input event: only the selected input steps the counter. A counter at
  // 0 stays 0. Returns true when the counter reached 0 in this step; it is
  // then reloaded when auto reload is on.
  constexpr bool step(int input) {
    if (input != input_ || counter_ == 0) return false;
    if (--counter_ != 0) return false;
    if (autoReload_) counter_ = start_;
    return true;
  }

  constexpr int counter() const { return counter_; }
  constexpr int start() const { return start_; }
  constexpr int input() const { return input_; }
  constexpr bool autoReload() const { return autoReload_; }
  constexpr bool running() const { return counter_ != 0; }

 private:
  int counter_ = 0;
  int start_ = 0;
  int input_ = 0;
  bool autoReload_ = false;
  bool loadPending_ = false;
};

}  // namespace periphery
