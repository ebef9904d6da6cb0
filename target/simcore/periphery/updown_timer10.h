#pragma once
// A 10-bit up/down timer with a compare value, an end value and a compare
// width. One value register serves as compare and start value. The counter
// runs free modulo 1024; each step may be a double step. A step reports what
// matched on the low `width` bits: the compare value (compare match) and the
// end value (1023 counting up, 0 counting down). With a full compare, only a
// match of all ten bits counts, and with compare enabled it stops the timer. Which request bits
// and pins the matches drive is the chip's.
#include <cstdint>

namespace periphery {

class UpDownTimer10 {
 public:
  static constexpr int kMask = 0x3FF;

  struct Step {
    bool compare = false;  // a compare match (reported also while compare is off: PWM uses it)
    bool end = false;      // the end value was reached
    bool stopped = false;  // a full-compare match stopped the timer
  };

  constexpr void reset() { *this = UpDownTimer10{}; }

  // The value register: compare and start value.
  constexpr void setValue(int v) { value_ = v & kMask; }
  constexpr int value() const { return value_; }
  // Compare width: 10, 8, 6 or 4 bits, by code 0..3.
  constexpr void setWidthCode(int code) { width_ = 10 - 2 * (code & 3); }
  constexpr int width() const { return width_; }
  constexpr int widthMask() const { return (1 << width_) - 1; }

  constexpr void setUp(bool up) { up_ = up; }
  constexpr bool up() const { return up_; }
  constexpr int endValue() const { return up_ ? kMask : 0; }

  // A change of direction mirrors the timer: counter and value inverted, so
  // that the same distance to the end value remains.
  constexpr void invert() {
    counter_ = ~counter_ & kMask;
    value_ = ~value_ & kMask;
  }

  constexpr void setCompareEnabled(bool on) { compareEnabled_ = on; }
  constexpr bool compareEnabled() const { return compareEnabled_; }
  constexpr void setFullCompare(bool on) { fullCompare_ = on; }
  constexpr void setDoubleStep(bool on) { doubleStep_ = on; }

  // Load: the counter takes the start value; a start value of 0 stops the
  // timer. Returns whether it may run.
  constexpr bool load() {
    counter_ = value_;
    if (value_ == 0) running_ = false;
    return value_ != 0;
  }
  constexpr void setRunning(bool on) { running_ = on; }
  constexpr bool running() const { return running_; }
  constexpr int counter() const { return counter_; }
  constexpr bool counterAtCompare() const { return counter_ == value_; }

  // One input event.
  constexpr Step step() {
    Step s;
    if (!running_) return s;
    const int delta = up_ ? 1 : -1;
    counter_ = (counter_ + delta) & kMask;
    if (doubleStep_) counter_ = (counter_ + delta) & kMask;
    const int m = widthMask();
    s.compare = ((counter_ ^ value_) & (fullCompare_ ? kMask : m)) == 0;
    if (s.compare && fullCompare_ && compareEnabled_) {
      running_ = false;
      s.stopped = true;
    }
    s.end = ((counter_ ^ endValue()) & m) == 0;
    return s;
  }

 private:
  int counter_ = 0;
  int value_ = 0;
  int width_ = 10;
  bool up_ = false;
  bool running_ = false;
  bool compareEnabled_ = false;
  bool fullCompare_ = false;
  bool doubleStep_ = false;
};

}  // namespace periphery
