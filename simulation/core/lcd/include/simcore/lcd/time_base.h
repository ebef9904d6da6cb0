#pragma once
// The time base of the LCD family: a pre-divider of 2^(clock index + 1)
// periphery steps in front of a chain of 15 divide-by-two stages, all kept as
// one binary counter (pre-divider bits below, chain bits above). A periphery
// step that wraps the pre-divider is a base tick; the chain stages that carry
// on it say which taps fire.
//
// The time base counts down to the next thing due: the next tick of the
// fastest tap in use, or an earlier deadline its owner set (a block that
// counts its clocks itself and needs the tick of its next match). A run of
// steps with nothing due is a decrement and a not-taken branch.
#include <bit>
#include <cstdint>
#include <optional>

namespace simcore::lcd {

class TimeBase {
 public:
  static constexpr int kStages = 15;
  static constexpr uint32_t kChainMask = (1u << kStages) - 1;

  // Every stage 0, no periphery step counted, no deadline.
  constexpr void reset() {
    offset_ = 0;
    deadlineSet_ = false;
    rearm(0);
  }

  // The pre-divider of clock index k counts 2^(k+1) steps. The chain keeps
  // its stages; the pre-divider takes the low bits of the steps counted
  // since the reset, as a free-running step counter masked anew would. The
  // deadline goes: the owner sets it again in the new time.
  constexpr void setClockIndex(int index) {
    const uint32_t now = time();
    const uint32_t steps = now - offset_;
    const uint32_t chain = chainCount();
    shift_ = index + 1;
    const uint32_t moved = (chain << shift_) | (steps & ((1u << shift_) - 1));
    offset_ = moved - steps;
    deadlineSet_ = false;
    rearm(moved);
  }

  // The fastest tap in use fires every 2^carries base ticks (0..15).
  constexpr void setFastestTap(int carries) {
    fastest_ = carries;
    rearm(time());
  }

  // A base tick (a time() value that is a multiple of 2^shift()) that
  // `advance` hands to `fire` whatever the taps in use; one at a time. A
  // deadline that is not after now is none.
  constexpr void setDeadline(uint32_t at) {
    deadline_ = at;
    deadlineSet_ = true;
    rearm(time());
  }
  constexpr void clearDeadline() {
    deadlineSet_ = false;
    rearm(time());
  }
  // Both at once: the fastest tap in use and the deadline, if any.
  constexpr void setDue(int fastest, std::optional<uint32_t> deadline) {
    fastest_ = fastest;
    deadlineSet_ = deadline.has_value();
    if (deadlineSet_) deadline_ = *deadline;
    rearm(time());
  }

  // `steps` periphery steps. Each base tick on which the fastest tap in use
  // or a slower one fires, and the deadline's tick, is handed to `fire` with
  // the number of chain stages that carried (0..15, all of them when the
  // chain wraps); the steps between such ticks are counted at once. `fire`
  // may reset the time base or change its taps or deadline: the steps left
  // go on from there. True when a tick was handed out.
  template <class Fire>
  [[gnu::always_inline]] bool advance(uint32_t steps, Fire&& fire) {
    if (steps < untilDue_) [[likely]] {
      untilDue_ -= steps;
      return false;
    }
    for (;;) {
      steps -= untilDue_;
      untilDue_ = 0;  // time() is the due tick
      fire(std::countr_zero((due_ >> shift_) | (1u << kStages)));
      rearm(time());
      if (steps < untilDue_) {
        untilDue_ -= steps;
        return true;
      }
    }
  }

  // The chain stages of `clear` set to 0; the steps counted stay. The
  // deadline goes, as with setClockIndex.
  constexpr void clearStages(uint32_t clear) {
    const uint32_t before = time();
    const uint32_t after = before & ~((clear & kChainMask) << shift_);
    offset_ -= before - after;
    deadlineSet_ = false;
    rearm(after);
  }

  // The counter: chain count << shift() | pre-divider.
  constexpr uint32_t time() const { return due_ - untilDue_; }
  constexpr int shift() const { return shift_; }
  constexpr uint32_t chainCount() const { return (time() >> shift_) & kChainMask; }
  // `width` chain stages starting at stage `first` (bit 0 = stage first).
  constexpr int stageBits(int first, int width) const {
    return static_cast<int>((chainCount() >> first) & ((1u << width) - 1));
  }

 private:
  // The counter is `now`: the next due step is the next tick of the fastest
  // tap after it, or the deadline when that comes first.
  constexpr void rearm(uint32_t now) {
    const uint32_t unit = 1u << (shift_ + fastest_);
    uint32_t toNext = unit - (now & (unit - 1));
    if (deadlineSet_) {
      const uint32_t toDeadline = deadline_ - now;
      if (toDeadline != 0 && toDeadline < toNext) toNext = toDeadline;
    }
    due_ = now + toNext;
    untilDue_ = toNext;
  }

  // The counter at the next due step and the steps from now to it: after a
  // reset, the wrap of the whole chain at clock index 0.
  uint32_t due_ = 1u << (1 + kStages);
  uint32_t untilDue_ = 1u << (1 + kStages);
  uint32_t offset_ = 0;  // counter - steps counted since the reset
  uint32_t deadline_ = 0;
  int shift_ = 1;  // clock index + 1
  int fastest_ = kStages;
  bool deadlineSet_ = false;
};

// The ticks of one tap counted from the time base's counter instead of
// handed out one by one: a block clocked by the tap (the timer) takes the
// ticks that passed whenever it is looked at or changed, and sets the time
// base's deadline at the tick it next needs (its next match).
class TapTicks {
 public:
  // The tap's ticks from now on (carries 0..15).
  constexpr void follow(const TimeBase& base, int carries) {
    carries_ = carries;
    since_ = base.time();
  }
  constexpr void stop() { carries_ = -1; }
  constexpr bool following() const { return carries_ >= 0; }
  constexpr int carries() const { return carries_; }

  // The tap's ticks after the last take (or follow) up to now, now included.
  constexpr uint32_t take(const TimeBase& base) {
    const uint32_t now = base.time();
    const uint32_t ticks = (now - lastTick(base)) >> (base.shift() + carries_);
    since_ = now;
    return ticks;
  }
  // The counter at the n-th tick of the tap after the last take (n >= 1).
  constexpr uint32_t tick(const TimeBase& base, uint32_t n) const {
    return lastTick(base) + (n << (base.shift() + carries_));
  }
  // The counter moved (a restart, another clock index) after a take: the
  // ticks count from its new value.
  constexpr void moved(const TimeBase& base) { since_ = base.time(); }

 private:
  // The counter at the tap's last tick at or before the last take.
  constexpr uint32_t lastTick(const TimeBase& base) const {
    return since_ & ~((1u << (base.shift() + carries_)) - 1);
  }

  uint32_t since_ = 0;  // the counter at the last take
  int carries_ = -1;
};

}  // namespace simcore::lcd
