// The counted time blocks against the plain step-by-step forms they replace:
// the LCD family's time base (pre-divider and 15-stage chain in one counter)
// against a free-running step counter with a separate prescaler chain, and
// the 10-bit timer's match countdown against comparing at every step (single
// and double steps, runs of steps at once, mirroring, both full-compare
// options), and a tap's ticks counted from the time base, with a deadline at
// the one a block needs next, against counting them as a stepped time base
// hands them out. All are driven
// through long pseudo-random sequences of every operation.
#include <gtest/gtest.h>
#include <simcore/lcd/time_base.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "periphery/timer10.h"

namespace {

using simcore::lcd::TimeBase;

// The time base as steps of a free-running counter masked by the clock
// index, and a separate chain that counts the base ticks.
class SteppedTimeBase {
 public:
  void reset() {
    chain_ = 0;
    steps_ = 0;
  }
  void setClockIndex(int index) { preMask_ = (2u << index) - 1; }
  void setFastestTap(int carries) { fastest_ = carries; }
  // Stages 1-14 to 0.
  void restart() { chain_ &= ~0x7FFEu; }
  template <class Fire>
  void advance(uint32_t steps, Fire&& fire) {
    for (uint32_t i = 0; i < steps; ++i) {
      if ((++steps_ & preMask_) != 0) continue;
      chain_ = (chain_ + 1) & 0x7FFFu;
      const int carried = chain_ != 0 ? std::countr_zero(chain_) : 15;
      if (carried >= fastest_) fire(carried);
    }
  }
  uint32_t chainCount() const { return chain_; }
  int stageBits(int first, int width) const {
    return static_cast<int>((chain_ >> first) & ((1u << width) - 1));
  }

 private:
  uint32_t chain_ = 0;  // 15 stages
  uint32_t steps_ = 0;
  uint32_t preMask_ = 1;
  int fastest_ = 15;
};

// A fired tick: the steps counted before the advance it came in, and its
// carries.
struct Fired {
  uint64_t step;
  int carried;
  bool operator==(const Fired&) const = default;
};

// Runs the same operations on a time base of either form. A fired tick may
// change the fastest tap or reset the time base, as a chip's taps do.
template <class Base>
std::vector<Fired> Drive(uint32_t seed, std::vector<uint32_t>* chains) {
  Base base;
  base.reset();
  base.setClockIndex(0);
  std::mt19937 random(seed);
  std::vector<Fired> fired;
  uint64_t steps = 0;
  for (int op = 0; op < 20000; ++op) {
    const uint32_t pick = random() % 100;
    if (pick < 80) {
      const uint32_t n = 1 + random() % 9;
      base.advance(n, [&](int carried) {
        fired.push_back({steps, carried});
        const size_t k = fired.size();
        if (k % 7 == 0) base.setFastestTap(static_cast<int>(k % 16));
        if (k % 101 == 0) base.reset();
      });
      steps += n;
    } else if (pick < 88) {
      base.setFastestTap(static_cast<int>(random() % 16));
    } else if (pick < 94) {
      base.setClockIndex(static_cast<int>(random() % 5));
    } else if (pick < 98) {
      base.restart();
    } else {
      base.reset();
    }
    chains->push_back(base.chainCount() | (static_cast<uint32_t>(base.stageBits(13, 2)) << 16));
  }
  return fired;
}

class CountedTimeBase : public TimeBase {
 public:
  void restart() { clearStages(0x7FFEu); }
};

TEST(CountedTime, TimeBaseFiresTheTicksOfStepByStepCounting) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    std::vector<uint32_t> chainsStepped, chainsCounted;
    const std::vector<Fired> stepped = Drive<SteppedTimeBase>(seed, &chainsStepped);
    const std::vector<Fired> counted = Drive<CountedTimeBase>(seed, &chainsCounted);
    ASSERT_FALSE(stepped.empty());
    EXPECT_EQ(counted, stepped) << "seed " << seed;
    EXPECT_EQ(chainsCounted, chainsStepped) << "seed " << seed;
  }
}

TEST(CountedTime, TimeBaseFiresEachFifteenStageWrapAtEveryClockIndex) {
  for (int index = 0; index <= 4; ++index) {
    TimeBase base;
    base.setClockIndex(index);
    std::vector<int> carries;
    base.advance(uint32_t{2} << (index + 16), [&](int carried) { carries.push_back(carried); });
    EXPECT_EQ(carries, (std::vector<int>{15, 15})) << index;
    EXPECT_EQ(base.chainCount(), 0u);
  }
}

// A tap's ticks counted one by one as a stepped time base hands them out,
// with the deadline as the n-th of them after the last take.
class SteppedTapTicks {
 public:
  void reset() {
    base_.reset();
    followed_ = total_;
    deadline_ = 0;
  }
  void setClockIndex(int index) {
    base_.setClockIndex(index);
    deadline_ = 0;
  }
  void setFastestTap(int carries) { fastest_ = carries; }
  void restart() {
    base_.restart();
    deadline_ = 0;
  }
  void follow(int carries) {
    carries_ = carries;
    followed_ = total_;
    deadline_ = 0;
  }
  uint32_t take() {
    const uint32_t ticks = static_cast<uint32_t>(total_ - followed_);
    followed_ = total_;
    return ticks;
  }
  void setDeadline(uint32_t n) { deadline_ = followed_ + n; }
  template <class Fire>
  void advance(uint32_t steps, Fire&& fire) {
    base_.setFastestTap(0);
    for (uint32_t i = 0; i < steps; ++i) {
      bool due = false;
      int carried = 0;
      base_.advance(1, [&](int c) {
        carried = c;
        if (c >= carries_ && ++total_ == deadline_) due = true;
        if (c >= fastest_) due = true;
      });
      if (due) fire(carried);
    }
  }
  uint32_t chainCount() const { return base_.chainCount(); }

 private:
  SteppedTimeBase base_;
  int fastest_ = 15;
  int carries_ = 0;
  uint64_t total_ = 0, followed_ = 0, deadline_ = 0;
};

// The same with the counted time base and TapTicks.
class CountedTapTicks {
 public:
  void reset() {
    base_.reset();
    ticks_.follow(base_, ticks_.carries());
  }
  void setClockIndex(int index) {
    base_.setClockIndex(index);
    ticks_.moved(base_);
  }
  void setFastestTap(int carries) { base_.setFastestTap(carries); }
  void restart() {
    base_.clearStages(0x7FFEu);
    ticks_.moved(base_);
  }
  void follow(int carries) {
    ticks_.follow(base_, carries);
    base_.clearDeadline();
  }
  uint32_t take() { return ticks_.take(base_); }
  void setDeadline(uint32_t n) { base_.setDeadline(ticks_.tick(base_, n)); }
  template <class Fire>
  void advance(uint32_t steps, Fire&& fire) {
    base_.advance(steps, fire);
  }
  uint32_t chainCount() const { return base_.chainCount(); }

 private:
  TimeBase base_;
  simcore::lcd::TapTicks ticks_;
};

// Random operations; the ticks taken after each, and every fired tick with
// its carries. A fired tick takes the ticks and sets the next deadline, as
// the timer does at its match. Ticks are taken before the counter moves.
template <class Ticks>
std::vector<uint64_t> DriveTapTicks(uint32_t seed) {
  Ticks t;
  t.reset();
  t.setClockIndex(0);
  t.follow(3);
  std::mt19937 random(seed);
  std::vector<uint64_t> log;
  for (int op = 0; op < 4000; ++op) {
    const uint32_t pick = random() % 100;
    if (pick < 70) {
      const uint32_t n = 1 + random() % 200;
      t.advance(n, [&](int carried) {
        const uint32_t taken = t.take();
        log.push_back(1000000u + static_cast<uint64_t>(carried) * 10000u + taken);
        if (log.size() % 3 == 0) t.setDeadline(1 + static_cast<uint32_t>(log.size() % 11));
      });
    } else if (pick < 78) {
      log.push_back(t.take());
    } else if (pick < 86) {
      log.push_back(t.take());
      t.setDeadline(1 + random() % 20);
    } else if (pick < 90) {
      t.setFastestTap(static_cast<int>(6 + random() % 10));
    } else if (pick < 93) {
      log.push_back(t.take());
      t.setClockIndex(static_cast<int>(random() % 5));
    } else if (pick < 96) {
      log.push_back(t.take());
      t.restart();
    } else if (pick < 98) {
      log.push_back(t.take());
      t.follow(static_cast<int>(random() % 16));
    } else {
      t.reset();
    }
    log.push_back(t.chainCount());
  }
  return log;
}

TEST(CountedTime, TapTicksAndTheirDeadlineAsSteppedCountingSeesThem) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    const std::vector<uint64_t> stepped = DriveTapTicks<SteppedTapTicks>(seed);
    const std::vector<uint64_t> counted = DriveTapTicks<CountedTapTicks>(seed);
    ASSERT_GT(stepped.size(), 4000u);
    EXPECT_EQ(counted, stepped) << "seed " << seed;
  }
}

// The timer comparing its count at every step.
struct Compared {
  int count = 0, value = 0, step = -1, end = 0, width = 1023;
  bool doubleStep = false, full = false, compareOn = false, running = false;
  periphery::Timer10::Match advance(bool stops) {
    count = (count + (doubleStep ? 2 * step : step)) & 1023;
    const bool fullMatch = count == value;
    const bool compare = full ? fullMatch : (count & width) == (value & width);
    if (stops && fullMatch && full && compareOn) running = false;
    return {(count & width) == (end & width), compare, fullMatch};
  }
};

// Every operation at random against the reference; both full-compare options.
template <periphery::Timer10Config Config>
void CompareTimer(uint32_t seed) {
  constexpr bool kStops = Config.fullCompareMatch == periphery::FullCompareMatch::Stops;
  std::mt19937 random(seed);
  periphery::BasicTimer10<Config> timer;
  Compared plain;
  int matches = 0;
  for (int op = 0; op < 200000; ++op) {
    const uint32_t pick = random() % 1000;
    if (pick < 985) {
      // Now and then, the steps up to the match but one at once.
      const int skip = op % 64 == 0 ? timer.stepsToMatch() - 1 : 0;
      for (int i = 0; i < skip; ++i) plain.advance(kStops);
      ASSERT_FALSE(timer.advance(skip));
      const bool matched = timer.step();
      const periphery::Timer10::Match m = plain.advance(kStops);
      ASSERT_EQ(matched, m.end || m.compare) << "seed " << seed << " op " << op;
      if (matched) {
        const periphery::Timer10::Match t = timer.match();
        EXPECT_EQ(t.end, m.end);
        EXPECT_EQ(t.compare, m.compare);
        EXPECT_EQ(t.fullCompare, m.fullCompare);
        ++matches;
      }
    } else if (pick < 988) {
      const bool up = random() & 1;
      timer.setUp(up);
      plain.step = up ? 1 : -1;
      plain.end = up ? 1023 : 0;
    } else if (pick < 990) {
      const int code = static_cast<int>(random() % 4);
      timer.setWidthCode(code);
      plain.width = 1023 >> (2 * code);
    } else if (pick < 993) {
      const int mask = 0xF << (4 * (random() % 3));
      const int value = static_cast<int>(random());
      timer.setValueBits(mask, value);
      plain.value = ((plain.value & ~mask) | (value & mask)) & 1023;
    } else if (pick < 994) {
      const bool may = timer.load();
      plain.count = plain.value;
      if (plain.value == 0) plain.running = false;
      EXPECT_EQ(may, plain.value != 0);
    } else if (pick < 995) {
      timer.mirror();
      plain.count = ~plain.count & 1023;
      plain.value = ~plain.value & 1023;
    } else if (pick < 996) {
      plain.doubleStep = random() % 4 == 0;
      timer.setDoubleStep(plain.doubleStep);
    } else if (pick < 997) {
      plain.full = random() & 1;
      timer.setFullCompare(plain.full);
    } else if (pick < 998) {
      plain.compareOn = random() & 1;
      timer.setCompareEnabled(plain.compareOn);
    } else if (pick < 999) {
      plain.running = random() & 1;
      timer.setRunning(plain.running);
    } else {
      timer.reset();
      plain = Compared{};
    }
    ASSERT_EQ(timer.count(), plain.count);
    ASSERT_EQ(timer.value(), plain.value);
    ASSERT_EQ(timer.running(), plain.running);
  }
  EXPECT_GT(matches, 100);
}

TEST(CountedTime, TimerMatchesWhereComparingEveryStepDoes) {
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    CompareTimer<periphery::Timer10Config{}>(seed);
    CompareTimer<periphery::Timer10Config{periphery::FullCompareMatch::Stops}>(seed + 100);
  }
}

}  // namespace
