#pragma once
// The rounds to the next one whose tick has work. A chip whose prescaler
// reports most ticks as nothing due counts its rounds down instead of
// stepping the chain every round: the rounds before the due one only count,
// and the chain takes them at once when the due round comes or when anything
// looks at the periphery between (a register access, events, the end of a
// run), after which the next round is a due one again.
#include <cstdint>

namespace periphery {

class RoundCountdown {
 public:
  // Every round: true when this round's tick is to run.
  [[gnu::always_inline]] bool due() { return --untilDue_ == 0; }
  // In a due round, first: the rounds counted before it, whose ticks are
  // nothing due; from here until arm() there are none.
  [[gnu::always_inline]] uint32_t takeBeforeDue() {
    const uint32_t rounds = armedFor_ - 1;
    armedFor_ = untilDue_ = 0;
    return rounds;
  }
  // Between due rounds: the rounds counted since armed or taken (the current
  // one too: its tick comes before what looks), none of them due.
  [[gnu::always_inline]] uint32_t takeCounted() {
    const uint32_t rounds = armedFor_ - untilDue_;
    armedFor_ = untilDue_;
    return rounds;
  }
  // The next due round `rounds` rounds from now (1: the next one).
  void arm(uint32_t rounds) { untilDue_ = armedFor_ = rounds; }
  void dueNext() { arm(1); }
  // Rounds counted but not yet taken.
  [[gnu::always_inline]] bool behind() const { return armedFor_ != untilDue_; }

 private:
  uint32_t untilDue_ = 1;
  uint32_t armedFor_ = 1;
};

}  // namespace periphery
