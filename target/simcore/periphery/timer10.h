#pragma once
// A 10-bit up/down timer: count, start value, step +1 or -1 modulo 1024, end
// value 1023 (up) or 0 (down), and a width (10, 8, 6 or 4 bits) that masks
// the comparisons. What its matches raise and drive is the chip's.
//
// The timer knows how many steps its next match is away: the common step is
// the count, a decrement and a not-taken branch.
#include <algorithm>
#include <cstdint>

namespace periphery {

class Timer10 {
 public:
  static constexpr int kMask = 1023;

  constexpr void reset() { *this = Timer10{}; }

  constexpr void setUp(bool up) {
    step_ = up ? 1 : -1;
    end_ = up ? kMask : 0;
    findNextMatch();
  }
  // Width code 0..3: 10, 8, 6, 4 bits.
  constexpr void setWidthCode(int code) {
    widthMask_ = kMask >> (2 * (code & 3));
    findNextMatch();
  }
  constexpr int widthBits() const {
    return widthMask_ == kMask ? 10 : widthMask_ == 255 ? 8 : widthMask_ == 63 ? 6 : 4;
  }
  // Start value bits: `value` into the bits of `mask`.
  constexpr void setStartBits(int mask, int value) {
    start_ = ((start_ & ~mask) | (value & mask)) & kMask;
    findNextMatch();
  }
  constexpr void load() {
    count_ = start_;
    findNextMatch();
  }

  // One step of the count. True when the count matches: match() says what
  // it reached.
  [[gnu::always_inline]] constexpr bool step() {
    count_ = (count_ + step_) & kMask;
    if (--untilMatch_ != 0) [[likely]]
      return false;
    findNextMatch();
    return true;
  }
  struct Match {
    bool end = false;      // the masked count reached the masked end value
    bool compare = false;  // the masked count equals the masked start value
    bool fullCompare = false;  // the whole 10-bit count equals the start value
  };
  constexpr Match match() const {
    Match m;
    m.end = (count_ & widthMask_) == (end_ & widthMask_);
    m.compare = (count_ & widthMask_) == (start_ & widthMask_);
    m.fullCompare = count_ == start_;
    return m;
  }

  constexpr int count() const { return count_; }
  constexpr int start() const { return start_; }
  constexpr int stepValue() const { return step_; }
  constexpr int end() const { return end_; }

 private:
  // Steps from the count to the next masked count equal to the masked end
  // or start value (1 .. width).
  constexpr void findNextMatch() {
    const auto stepsTo = [this](int target) {
      const int d = ((target - count_) * step_) & widthMask_;
      return d == 0 ? widthMask_ + 1 : d;
    };
    untilMatch_ = std::min(stepsTo(end_), stepsTo(start_));
  }

  int count_ = 0;
  int start_ = 0;
  int step_ = -1;
  int end_ = 0;
  int widthMask_ = kMask;
  int untilMatch_ = kMask + 1;  // count 0 down to end 0 and start 0
};

}  // namespace periphery
