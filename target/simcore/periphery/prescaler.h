#pragma once
// A prescaler chain of one-bit stages kept as one binary counter. Stage 0
// counts every tick and each stage passes a carry to the next when it wraps.
// step() says how many stages carried in this tick: an event that happens
// every 2^k ticks (the carry out of stage k-1) fires when at least k stages
// carried. The common tick is one increment and one count of trailing zeros.
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

class BinaryPrescaler {
 public:
  explicit constexpr BinaryPrescaler(const PrescalerConfig& config) : config_(config) { reset(); }

  constexpr void reset() { count_ = config_.startValue & mask(); }

  // One tick; returns the number of stages that carried (0..stages).
  inline int step() {
    count_ = (count_ + 1) & mask();
    return count_ ? std::countr_zero(count_) : config_.stages;
  }

  constexpr void restart() { count_ = ((count_ & ~config_.restartClear) | config_.restartSet) & mask(); }

  constexpr uint32_t count() const { return count_; }
  // `width` stage bits starting at stage `first` (bit 0 = stage first).
  constexpr int stageBits(int first, int width) const {
    return static_cast<int>((count_ >> first) & ((1u << width) - 1));
  }

 private:
  constexpr uint32_t mask() const { return (config_.stages >= 32) ? ~0u : ((1u << config_.stages) - 1); }

  PrescalerConfig config_;
  uint32_t count_ = 0;
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
