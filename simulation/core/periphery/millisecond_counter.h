#pragma once
// A millisecond counter of three decimal digits (units, tens, hundreds) in
// three registers, counting one every `stepsPerCount` periphery steps while
// running. A digit above 9 after its increment becomes 0 and carries (the
// program may write 10-15 into a digit). The tens carry is the 0.1 s event;
// the hundreds carry is the 1 s event and sets the overflow bit of the
// status register. A clear request zeroes the digits and the sub-count at
// the next step. Starting restarts the sub-count.
//
// Port control: with the control register's port bits set, edges of one
// port pin start and stop the counter (opposite edges) or toggle it (one
// edge), the polarity chosen by a status bit.
//
// The block keeps its own copy of the digits and the overflow bit, so that a
// window draws them without the register file; it writes the registers it
// changes.
#include <array>
#include <cstdint>

#include "cells.h"

namespace periphery {

namespace millisecond {
// Control register.
constexpr int kClear = 1;        // written as 1: clear at the next step (not stored)
constexpr int kStartStop = 2;    // port control by opposite edges (else one edge toggles)
constexpr int kPortControl = 4;  // with kRun: the port pin controls the counter
constexpr int kRun = 8;
// Status register.
constexpr int kOverflow = 1;      // set by the 1 s carry, cleared by a read
constexpr int kEverySecond = 2;   // the request comes every second (else every 0.1 s)
constexpr int kFallingStarts = 4; // port control: the falling edge starts (toggles)
// What a step did.
constexpr int kCounted = 1, kTenth = 2, kSecond = 4;
}  // namespace millisecond

// What a clear request clears.
enum class MillisecondClear : uint8_t {
  Digits,              // the overflow bit stays
  DigitsAndOverflow,
};

// How a write of the control register starts the counter.
enum class MillisecondStart : uint8_t {
  RunWithoutPortBits,  // the run bit written as 1 starts it only while the port bits are 0
  RunBitRising,        // a write that changes the run bit from 0 to 1 starts it
};

struct MillisecondCounterConfig {
  int firstDigit;  // units; tens and hundreds follow
  int status;
  MillisecondClear clear;
  MillisecondStart start;
  int stepsPerCount = 17;
};

template <MillisecondCounterConfig Config>
class MillisecondCounter {
 public:
  constexpr void reset() {
    running_ = false;
    clearPending_ = false;
    overflow_ = false;
    digits_ = {};
    countdown_ = Config.stepsPerCount;
  }

  // A write of the control register: `value` as written, `old` its stored
  // bits before. A write without the run bit stops the counter.
  constexpr void writeControl(int value, int old) {
    if (value & millisecond::kClear) {
      clearPending_ = true;
      countdown_ = 1;
    }
    if (!(value & millisecond::kRun)) {
      running_ = false;
      return;
    }
    if constexpr (Config.start == MillisecondStart::RunWithoutPortBits) {
      if ((value & (millisecond::kStartStop | millisecond::kPortControl)) == 0) start();
    } else {
      if (!(old & millisecond::kRun)) start();
    }
  }

  // One edge of the control pin; `control` and `status` are the registers'
  // values. Only while the port bits and the run bit are set.
  constexpr void portEdge(int control, int status, bool rising) {
    constexpr int kPort = millisecond::kPortControl | millisecond::kRun;
    if ((control & kPort) != kPort) return;
    const bool selected = rising != ((status & millisecond::kFallingStarts) != 0);
    if (control & millisecond::kStartStop) {
      if (selected)
        start();
      else
        running_ = false;
    } else if (selected) {
      if (running_)
        running_ = false;
      else
        start();
    }
  }

  // The program wrote digit `i` (0 units .. 2 hundreds).
  constexpr void setDigit(int i, int v) { digits_[i] = static_cast<uint8_t>(v & 15); }
  // A read of the status register clears the overflow bit.
  constexpr void clearOverflow() { overflow_ = false; }

  // Steps are needed while running or with a clear pending.
  constexpr bool active() const { return running_ || clearPending_; }

  // One periphery step while active(): a countdown, true when the count (or
  // a clear) is due; then count() does it.
  [[gnu::always_inline]] bool step() { return --countdown_ == 0; }
  // The due count or clear; returns what happened (millisecond::kCounted,
  // kTenth, kSecond).
  int count(Cells& cells) {
    countdown_ = Config.stepsPerCount;
    if (clearPending_) {
      clearPending_ = false;
      digits_ = {};
      for (int i = 0; i < 3; ++i) cells.set(Config.firstDigit + i, 0);
      if constexpr (Config.clear == MillisecondClear::DigitsAndOverflow) {
        overflow_ = false;
        cells.clearBits(Config.status, millisecond::kOverflow);
      }
      return millisecond::kCounted;
    }
    int happened = millisecond::kCounted;
    for (int i = 0; i < 3; ++i) {
      const int d = digits_[i] + 1;
      if (d <= 9) {
        digits_[i] = static_cast<uint8_t>(d);
        cells.set(Config.firstDigit + i, d);
        break;
      }
      digits_[i] = 0;
      cells.set(Config.firstDigit + i, 0);
      if (i == 1) happened |= millisecond::kTenth;
      if (i == 2) happened |= millisecond::kSecond;
    }
    if (happened & millisecond::kSecond) {
      overflow_ = true;
      cells.setBits(Config.status, millisecond::kOverflow);
    }
    return happened;
  }

  constexpr bool running() const { return running_; }
  constexpr bool overflow() const { return overflow_; }
  constexpr int digit(int i) const { return digits_[i]; }

 private:
  constexpr void start() {
    if (!running_) countdown_ = clearPending_ ? 1 : Config.stepsPerCount;
    running_ = true;
  }

  std::array<uint8_t, 3> digits_{};
  int countdown_ = Config.stepsPerCount;
  bool running_ = false;
  bool clearPending_ = false;
  bool overflow_ = false;
};

}  // namespace periphery
