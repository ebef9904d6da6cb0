#pragma once
// The time base of the LCD family: a pre-divider of 2^(clock index + 1)
// periphery steps in front of a chain of 15 divide-by-two stages, all kept as
// one binary counter (pre-divider bits below, chain bits above). A periphery
// step that wraps the pre-divider is a base tick; the chain stages that carry
// on it say which taps fire. The fastest tap in use says how many steps away
// the next thing to do is, so a run of steps with nothing due is one
// subtraction, one test and one addition.
#include <bit>
#include <cstdint>

namespace simcore::lcd {

class TimeBase {
 public:
  static constexpr int kStages = 15;
  static constexpr uint32_t kChainMask = (1u << kStages) - 1;

  // Every stage 0, and no periphery step counted.
  constexpr void reset() {
    time_ = 0;
    offset_ = 0;
  }

  // The pre-divider of clock index k counts 2^(k+1) steps. The chain keeps
  // its stages; the pre-divider takes the low bits of the steps counted
  // since the reset, as a free-running step counter masked anew would.
  constexpr void setClockIndex(int index) {
    const uint32_t steps = time_ - offset_;
    const uint32_t chain = chainCount();
    shift_ = index + 1;
    time_ = (chain << shift_) | (steps & ((1u << shift_) - 1));
    offset_ = time_ - steps;
  }

  // The fastest tap in use fires every 2^carries base ticks (0..15).
  constexpr void setFastestTap(int carries) { fastest_ = carries; }

  // `steps` periphery steps. Each base tick on which the fastest tap in use
  // or a slower one fires is handed to `fire` with the number of chain
  // stages that carried (0..15, all of them when the chain wraps); the
  // steps between such ticks are counted at once. `fire` may reset the time
  // base or change its taps: the steps left go on from there.
  template <class Fire>
  [[gnu::always_inline]] void advance(uint32_t steps, Fire&& fire) {
    for (;;) {
      const uint32_t unit = 1u << (shift_ + fastest_);
      const uint32_t toNext = unit - (time_ & (unit - 1));
      if (toNext > steps) [[likely]] {
        time_ += steps;
        return;
      }
      time_ += toNext;
      steps -= toNext;
      fire(std::countr_zero((time_ >> shift_) | (1u << kStages)));
    }
  }

  // The chain stages of `clear` set to 0; the steps counted stay.
  constexpr void clearStages(uint32_t clear) {
    const uint32_t before = time_;
    time_ &= ~((clear & kChainMask) << shift_);
    offset_ -= before - time_;
  }

  constexpr uint32_t chainCount() const { return (time_ >> shift_) & kChainMask; }
  // `width` chain stages starting at stage `first` (bit 0 = stage first).
  constexpr int stageBits(int first, int width) const {
    return static_cast<int>((chainCount() >> first) & ((1u << width) - 1));
  }

 private:
  uint32_t time_ = 0;    // chain count << shift_ | pre-divider
  uint32_t offset_ = 0;  // time_ - steps counted since the reset
  int shift_ = 1;        // clock index + 1
  int fastest_ = kStages;
};

}  // namespace simcore::lcd
