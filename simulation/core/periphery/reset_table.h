#pragma once
// A reset as data: per register range, the value bits each kind of reset
// leaves (new value = set bits, plus the old bits of the keep mask). Only
// value bits change; compare values and flags stay.
#include <simcore/field.h>

#include <cstddef>
#include <span>

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
// reset does to them (kind 0, kind 1, ...). A later line overrides an
// earlier one for the registers both name, so a table may give the rule for
// a whole range first and its exceptions after it.
template <int Kinds>
struct ResetRule {
  int first, last;
  ResetAction action[Kinds];
};

// The action of the last line naming register n, or none.
template <int Kinds>
constexpr const ResetAction* resetActionOf(std::span<const ResetRule<Kinds>> table, int n, int kind) {
  const ResetAction* found = nullptr;
  for (const ResetRule<Kinds>& rule : table)
    if (n >= rule.first && n <= rule.last) found = &rule.action[kind];
  return found;
}

template <int Kinds>
void applyReset(std::span<const ResetRule<Kinds>> table, Cells& cells, int kind) {
  for (int n = 0; n < Cells::kCount; ++n)
    if (const ResetAction* a = resetActionOf(table, n, kind))
      cells.set(n, a->value | (cells.value(n) & a->keep));
}
template <int Kinds, std::size_t N>
void applyReset(const ResetRule<Kinds> (&table)[N], Cells& cells, int kind) {
  applyReset(std::span<const ResetRule<Kinds>>(table), cells, kind);
}

// The same reset applied to the register latch.
template <int Kinds, std::size_t N>
void applyReset(const ResetRule<Kinds> (&table)[N], simcore::RegisterLatch& latch, int kind) {
  for (int n = 0; n < Cells::kCount; ++n)
    if (const ResetAction* a = resetActionOf(std::span<const ResetRule<Kinds>>(table), n, kind))
      latch.store(n, a->value | (latch.at(n) & a->keep));
}

}  // namespace periphery
