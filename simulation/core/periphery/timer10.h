#pragma once
// A 10-bit up/down timer: a count that steps +1 or -1 modulo 1024 (or twice
// that with the double step), one value register that is both the start and
// the compare value, an end value 1023 (up) or 0 (down), and a width (10, 8,
// 6 or 4 bits) that masks the comparisons. What its matches raise and drive
// is the chip's.
//
// The timer knows how many steps its next match is away: the common step is
// the count, a decrement and a not-taken branch, and a chip that counts its
// clocks elsewhere brings it up to date with advance(n).
#include <algorithm>
#include <cstdint>

namespace periphery {

// What a whole-count compare match does while the full compare and the
// compare are both on.
enum class FullCompareMatch : uint8_t {
  Reported,  // reported only: the chip decides
  Stops,     // the timer stops
};

// What a load does to the compare.
enum class LoadCompare : uint8_t {
  Kept,      // the compare stays on
  Disabled,  // a load turns the compare off until the program turns it on again
};

struct Timer10Config {
  FullCompareMatch fullCompareMatch = FullCompareMatch::Reported;
  LoadCompare loadCompare = LoadCompare::Kept;
};

// What a step reached.
struct Timer10Match {
  bool end = false;          // the masked count reached the masked end value
  bool compare = false;      // the count equals the value on the compare's bits
  bool fullCompare = false;  // the whole 10-bit count equals the value
};

template <Timer10Config Config = Timer10Config{}>
class BasicTimer10 {
 public:
  static constexpr int kMask = 1023;

  constexpr void reset() { *this = BasicTimer10{}; }

  constexpr void setUp(bool up) {
    up_ = up;
    setStride();
  }
  constexpr bool up() const { return up_; }
  constexpr int stepValue() const { return up_ ? 1 : -1; }
  constexpr int endValue() const { return up_ ? kMask : 0; }
  // Every step moves the count by two.
  constexpr void setDoubleStep(bool on) {
    doubleStep_ = on;
    setStride();
  }

  // Width code 0..3: 10, 8, 6, 4 bits.
  constexpr void setWidthCode(int code) {
    widthMask_ = kMask >> (2 * (code & 3));
    arm();
  }
  constexpr int width() const {
    return widthMask_ == kMask ? 10 : widthMask_ == 255 ? 8 : widthMask_ == 63 ? 6 : 4;
  }
  constexpr int widthMask() const { return widthMask_; }

  // The value register: start and compare value.
  constexpr void setValue(int v) {
    value_ = v & kMask;
    arm();
  }
  // `v` into the value bits of `mask`.
  constexpr void setValueBits(int mask, int v) { setValue((value_ & ~mask) | (v & mask)); }
  constexpr int value() const { return value_; }

  // The compare takes all ten bits instead of the width's.
  constexpr void setFullCompare(bool on) { fullCompare_ = on; }
  constexpr bool fullCompare() const { return fullCompare_; }
  constexpr void setCompareEnabled(bool on) { compareEnabled_ = on; }
  constexpr bool compareEnabled() const { return compareEnabled_; }
  // Whether the chip steps the timer; the timer itself only stops on a full
  // compare match with FullCompareMatch::Stops.
  constexpr void setRunning(bool on) { running_ = on; }
  constexpr bool running() const { return running_; }

  // Load: the count takes the start value; a start value of 0 stops the
  // timer. Returns whether it may run.
  constexpr bool load() {
    count_ = value_;
    if constexpr (Config.loadCompare == LoadCompare::Disabled) compareEnabled_ = false;
    arm();
    if (value_ == 0) running_ = false;
    return value_ != 0;
  }
  // A direction change mirrors the timer on the chips that do it: count and
  // value inverted, so that the same distance to the end value remains.
  constexpr void mirror() {
    count_ = ~count_ & kMask;
    value_ = ~value_ & kMask;
    arm();
  }

  // A direction change inverts the count alone on the chips that do so
  // (the value stays): the count is as far from the new end value as it
  // was from the old one.
  constexpr void invertCount() {
    count_ = ~count_ & kMask;
    arm();
  }

  constexpr int count() const { return count_; }
  constexpr bool countAtValue() const { return count_ == value_; }

  // One step of the count. True when an end or compare match is reached:
  // match() says which.
  [[gnu::always_inline]] constexpr bool step() {
    count_ = (count_ + stride_) & kMask;
    if (--untilMatch_ != 0) [[likely]]
      return false;
    return arrive();
  }
  // `n` steps at once, 0 <= n <= stepsToMatch(): the count as after n
  // single steps. True when the last of them reaches a match (n ==
  // stepsToMatch()), as step() reports it.
  constexpr bool advance(int n) {
    count_ = (count_ + n * stride_) & kMask;
    untilMatch_ -= n;
    if (untilMatch_ != 0) [[likely]]
      return false;
    return arrive();
  }
  // Steps from the count to the next match (1..1024).
  constexpr int stepsToMatch() const { return untilMatch_; }
  using Match = Timer10Match;
  constexpr Match match() const {
    Match m;
    m.end = ((count_ ^ endValue()) & widthMask_) == 0;
    m.fullCompare = count_ == value_;
    m.compare = fullCompare_ ? m.fullCompare : ((count_ ^ value_) & widthMask_) == 0;
    return m;
  }

 private:
  constexpr void setStride() {
    stride_ = (up_ ? 1 : -1) * (doubleStep_ ? 2 : 1);
    arm();
  }

  // The countdown ran out: a masked end or value is reached (or, with the
  // double step, the count came round without reaching one).
  constexpr bool arrive() {
    arm();
    const Match m = match();
    if constexpr (Config.fullCompareMatch == FullCompareMatch::Stops) {
      if (m.fullCompare && fullCompare_ && compareEnabled_) running_ = false;
    }
    return m.end || m.compare;
  }

  // Steps from the count to the next masked count equal to the masked end
  // or value: 1 .. width for single steps. A double step reaches only the
  // targets an even distance away; when none is, the count comes round in
  // half the width's span.
  constexpr void arm() {
    const int span = widthMask_ + 1;
    const int dir = up_ ? 1 : -1;
    const auto stepsTo = [&](int target) {
      const int d = ((target - count_) * dir) & widthMask_;
      if (!doubleStep_) return d == 0 ? span : d;
      if (d & 1) return span / 2;
      return d == 0 ? span / 2 : d / 2;
    };
    untilMatch_ = std::min(stepsTo(endValue()), stepsTo(value_));
  }

  int count_ = 0;
  int value_ = 0;
  int widthMask_ = kMask;
  int untilMatch_ = kMask + 1;  // count 0 down to end 0 and value 0
  int stride_ = -1;
  bool up_ = false;
  bool doubleStep_ = false;
  bool fullCompare_ = false;
  bool compareEnabled_ = false;
  bool running_ = false;
};

using Timer10 = BasicTimer10<>;

}  // namespace periphery
