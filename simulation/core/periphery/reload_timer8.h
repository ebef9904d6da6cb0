#pragma once
// An 8-bit timer with a reload value. At each count of its clock it moves one
// step towards its terminal value (0 counting down, 255 counting up); the
// count that reaches it is the timer's request, and with autoreload the count
// becomes the reload value there. Without autoreload a down counter stops at
// 0 and an up counter goes on (255 wraps to 0). The program reads the count a
// nibble at a time: reading the low nibble latches the high one, so the two
// reads see one count.
//
// How the program starts and stops the timer (which writes, which values) is
// the chip's; so are its clock source and where the request goes.
#include <cstdint>

namespace periphery {

enum class CountDirection : uint8_t {
  DownToZero,  // terminal 0; without autoreload the timer stops there
  UpTo255,     // terminal 255; without autoreload the count wraps on
};

struct ReloadTimer8Config {
  CountDirection direction;
};

class ReloadTimer8 {
 public:
  explicit constexpr ReloadTimer8(ReloadTimer8Config config) : config_(config) {}

  // Reload, count and latch 0, stopped, no autoreload.
  constexpr void reset() {
    reload_ = 0;
    count_ = 0;
    latchedHigh_ = 0;
    running_ = false;
    autoreload_ = false;
  }

  // ---- The reload value, a nibble at a time as the program writes it.
  constexpr void setReloadLow(int v) { reload_ = (reload_ & 0xF0) | (v & 15); }
  constexpr void setReloadHigh(int v) { reload_ = (reload_ & 0x0F) | ((v & 15) << 4); }
  constexpr void setReload(int v) { reload_ = v & 0xFF; }
  constexpr int reload() const { return reload_; }

  // ---- Running.
  // The count starts from the reload value.
  constexpr void start() {
    count_ = reload_;
    running_ = true;
  }
  constexpr void setRunning(bool on) { running_ = on; }
  constexpr bool running() const { return running_; }
  constexpr void setAutoreload(bool on) { autoreload_ = on; }
  constexpr bool autoreload() const { return autoreload_; }

  // One count (the caller tests running() and the clock source first).
  // True when this count reached the terminal value.
  constexpr bool step() {
    if (config_.direction == CountDirection::DownToZero) {
      count_ = (count_ - 1) & 0xFF;
      if (count_ != 0) return false;
      if (autoreload_)
        count_ = reload_;
      else
        running_ = false;
      return true;
    }
    count_ = (count_ + 1) & 0xFF;
    if (count_ != 0xFF) return false;
    if (autoreload_) count_ = reload_;
    return true;
  }

  // ---- The count.
  constexpr int count() const { return count_; }
  // The count as the register cells hold it (the monitor may have edited them).
  constexpr void setCount(int v) { count_ = v & 0xFF; }
  // The low nibble, latching the high nibble for latchedHigh().
  constexpr int readLow() {
    latchedHigh_ = count_ >> 4;
    return count_ & 15;
  }
  constexpr int latchedHigh() const { return latchedHigh_; }

 private:
  ReloadTimer8Config config_;
  int reload_ = 0;
  int count_ = 0;
  int latchedHigh_ = 0;
  bool running_ = false;
  bool autoreload_ = false;
};

}  // namespace periphery
