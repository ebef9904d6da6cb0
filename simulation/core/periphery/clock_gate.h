#pragma once
// A clock gate of two counters in front of a periphery step: with the
// selector at 1 every call passes, at 2 every second call, at 4 every
// fourth. A selector change takes effect at the next call; the counters
// keep their counts across it.
#include <cstdint>

namespace periphery {

class ClockGate {
 public:
  // Both counters 0: the first step comes at call 1, 2 or 4.
  constexpr void reset() { first_ = second_ = 0; }
  constexpr void setSelector(int selector) { selector_ = selector; }
  constexpr int selector() const { return selector_; }

  // One call at selector 1, known to be so: it passes, and both counters
  // restart, which is what the counts of pass() come to at 1.
  [[gnu::always_inline]] constexpr void passOpen() { first_ = second_ = 0; }

  // One call; true when the periphery steps.
  [[gnu::always_inline]] constexpr bool pass() {
    if (selector_ == 1) [[likely]] {
      passOpen();
      return true;
    }
    if (++first_ <= 1 && selector_ == 4) return false;
    first_ = 0;
    if (++second_ <= 1 && selector_ != 1) return false;
    second_ = 0;
    return true;
  }

 private:
  int first_ = 0, second_ = 0;
  int selector_ = 1;
};

}  // namespace periphery
