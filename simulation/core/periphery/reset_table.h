#pragma once
// A reset as data: per register range, the value bits each kind of reset
// leaves (new value = set bits, plus the old bits of the keep mask). Only
// value bits change; compare values and flags stay.
#include <cstddef>

#include "cells.h"

namespace periphery {

struct ResetAction {
  int value;  // bits set
  int keep;   // old bits kept (15: unchanged)
};

inline namespace rules {

constexpr ResetAction kUnchanged{0, 15};
constexpr ResetAction kZero{0, 0};
constexpr ResetAction resetTo(int value, int keep = 0) { return ResetAction{value & ~keep, keep}; }
constexpr ResetAction clearBits(int mask) { return ResetAction{0, 15 & ~mask}; }

}  // namespace rules

// One line of a reset table: registers first..last, and what each kind of
// reset does to them (kind 0, kind 1, ...).
template <int Kinds>
struct ResetRule {
  int first, last;
  ResetAction action[Kinds];
};

template <int Kinds, std::size_t N>
void applyReset(const ResetRule<Kinds> (&table)[N], Cells& cells, int kind) {
  for (const ResetRule<Kinds>& rule : table) {
    const ResetAction a = rule.action[kind];
    for (int n = rule.first; n <= rule.last; ++n) cells.set(n, a.value | (cells.value(n) & a.keep));
  }
}

}  // namespace periphery
