#pragma once
// Rules of input ports that recur between chips: the edge that a select bit
// chooses, and the reset by a combination of pin levels.
#include "port.h"

namespace periphery {

// The edge flags of a pin word against a select bit: 1 chooses the falling
// edge, 0 the rising one.
constexpr bool selectedEdge(uint32_t pinWord, bool fallingSelected) {
  return (pinWord & (fallingSelected ? pin::kFalling : pin::kRising)) != 0;
}

// The pins enabled in `enables` whose edge flags show the edge their bit of
// `fallingMask` selects (1 falling, 0 rising): the requests of a sampling.
template <int N>
constexpr int edgeRequests(const BasicPort<N>& port, int enables, int fallingMask) {
  int requests = 0;
  for (int p = 0; p < N; ++p)
    if (((enables >> p) & 1) && selectedEdge(port.word(p), (fallingMask >> p) & 1)) requests |= 1 << p;
  return requests;
}

// The reset combination: per pin a select bit and a polarity bit. A pin
// matches when both are set, when only the select bit is set and the pin is
// low, or when only the polarity bit is set and the pin is high.
constexpr int combinationMatches(int levels, int select, int polarity) {
  return ((select & polarity) | (select & ~polarity & ~levels) | (~select & polarity & levels)) & 15;
}

enum class CombinationRule {
  AllPins,  // the chip resets when all four pins match
  AnyPin,   // when any one pin matches
};

constexpr bool combinationResets(int levels, int select, int polarity, CombinationRule rule) {
  const int m = combinationMatches(levels, select, polarity);
  return rule == CombinationRule::AllPins ? m == 15 : m != 0;
}

}  // namespace periphery
