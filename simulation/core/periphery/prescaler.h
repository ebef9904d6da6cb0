#pragma once
// A prescaler chain of one-bit stages kept as one binary counter. Stage 0
// counts every tick and each stage passes a carry to the next when it wraps.
// step() says how many stages carried in this tick: an event that happens
// every 2^k ticks (the carry out of stage k-1) fires when at least k stages
// carried.
//
// A chip whose taps below some rate have nothing to do names that rate
// (setDueFrom): ticks with fewer carries then report kNothingDue, so the
// common tick is one increment and one not-taken test of the low bits.
#include <bit>
#include <cstdint>
#include <iterator>
#include <type_traits>
#include <utility>

namespace periphery {

struct PrescalerConfig {
  int stages;               // 1..31
  uint32_t startValue;      // stage bits after reset (bit k = stage k)
  uint32_t restartClear;    // stages set to 0 by a restart
  uint32_t restartSet;      // stages set to 1 by a restart
};

// step()'s result for a tick in which no tap at or above the due level fires.
constexpr int kNothingDue = -1;

class BinaryPrescaler {
 public:
  explicit constexpr BinaryPrescaler(const PrescalerConfig& config)
      : config_(config), mask_(config.stages >= 32 ? ~0u : ((1u << config.stages) - 1)) {
    reset();
  }

  constexpr void reset() { count_ = config_.startValue & mask_; }

  // One tick; returns the number of stages that carried (0..stages), or
  // kNothingDue when fewer carried than the due level.
  inline int step() {
    count_ = (count_ + 1) & mask_;
    if ((count_ & quiet_) != 0) return kNothingDue;
    return count_ ? std::countr_zero(count_) : config_.stages;
  }

  // Ticks in which fewer than `carries` stages carry fire nothing the chip
  // uses (0, the default: every tick is reported).
  constexpr void setDueFrom(int carries) {
    quiet_ = carries <= 0 ? 0u : (((carries >= 32) ? ~0u : ((1u << carries) - 1)) & mask_);
  }

  // Ticks from now to the next one that is due (1 .. 2^due level): a chip
  // that counts its rounds down to it steps the chain at once with
  // advance() for the ticks before.
  constexpr uint32_t ticksToDue() const { return quiet_ + 1 - (count_ & quiet_); }
  // `n` ticks at once, none of them due (n < ticksToDue()).
  constexpr void advance(uint32_t n) { count_ = (count_ + n) & mask_; }

  constexpr void restart() { count_ = ((count_ & ~config_.restartClear) | config_.restartSet) & mask_; }

  constexpr uint32_t count() const { return count_; }
  // `width` stage bits starting at stage `first` (bit 0 = stage first).
  constexpr int stageBits(int first, int width) const {
    return static_cast<int>((count_ >> first) & ((1u << width) - 1));
  }

 private:
  PrescalerConfig config_;
  uint32_t mask_;
  uint32_t count_ = 0;
  uint32_t quiet_ = 0;  // low count bits that, not all 0, mean nothing is due
};

// One line of a chip's tick-event table: `event` fires every 2^carries ticks.
template <class Event>
struct Tap {
  int carries;
  Event event;
};

// A tick-event table lists its taps from the fastest rate to the slowest, in
// the order the events happen within one tick.
template <class Event, std::size_t N>
constexpr bool tapsInOrder(const Tap<Event> (&taps)[N]) {
  for (std::size_t i = 1; i < N; ++i)
    if (taps[i].carries < taps[i - 1].carries) return false;
  return true;
}

// The fewest carries of a tap for which `inUse(event)` holds, at most
// `floor` (what the chip does after the chain): the due level of a prescaler
// serving the table. The table is in order, so the first tap in use is it.
template <class Event, std::size_t N, class InUse>
constexpr int firstTapInUse(const Tap<Event> (&taps)[N], InUse&& inUse, int floor) {
  for (const Tap<Event>& t : taps) {
    if (t.carries >= floor) break;
    if (inUse(t.event)) return t.carries;
  }
  return floor;
}

// Fires, in table order, every tap due after `carried` stages carried. The
// handler gets each event as a compile-time constant (the table is unrolled,
// so a chip's event switch folds away) and returns false to end the tick
// there (a reset inside the tick). Returns false when a handler ended it.
namespace detail {
template <const auto& Taps, class Handler, std::size_t... I>
[[gnu::always_inline]] inline bool fireTapsUnrolled(int carried, Handler& handler,
                                                    std::index_sequence<I...>) {
  bool going = true, ended = false;
  (((going = going && Taps[I].carries <= carried) &&
    !(going = handler(std::integral_constant<decltype(Taps[I].event), Taps[I].event>{})) &&
    (ended = true)),
   ...);
  return !ended;
}
}  // namespace detail

template <const auto& Taps, class Handler>
[[gnu::always_inline]] inline bool fireTaps(int carried, Handler&& handler) {
  return detail::fireTapsUnrolled<Taps>(carried, handler, std::make_index_sequence<std::size(Taps)>{});
}

}  // namespace periphery
