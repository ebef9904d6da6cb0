#pragma once
// Interrupt request registers and the interrupt condition, written in Fields.
// A request group is a request register and the register of its enables: a
// source's request bit is only ever set while its enable bit is set.
#include <simcore/field.h>

#include <array>
#include <cstddef>
#include <utility>

#include "cells.h"

namespace periphery {

using simcore::Field;

struct RequestGroup {
  Field request;
  Field enable;

  // Raises the request bits of `mask` that are enabled.
  void raise(Cells& cells, int mask) const {
    cells.setBits(request.reg, mask & request.mask & cells.value(enable.reg));
  }
};

// "Interrupts allowed" is a control field (set, or with `allowedWhenClear`
// clear), and an interrupt is pending when any request bit of the listed
// fields is set. Unused list entries have mask 0. It is tested every round,
// so it is a template argument: every field is a constant and the test
// folds to the loads and masks it needs.
struct InterruptCondition {
  Field allow;
  bool allowedWhenClear;
  std::array<Field, 4> requests;
};

// Any request bit of condition C set, the allow field aside.
template <const InterruptCondition& C>
[[gnu::always_inline]] inline bool interruptRequested(const Cells& cells) {
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    return ((C.requests[I].mask != 0 ? (cells.value(C.requests[I].reg) & C.requests[I].mask) : 0) | ...) != 0;
  }(std::make_index_sequence<C.requests.size()>{});
}

template <const InterruptCondition& C>
[[gnu::always_inline]] inline bool interruptAllowed(int allowBits) {
  return (allowBits != 0) != C.allowedWhenClear;
}

// Pending, allowed by the register file's allow field.
template <const InterruptCondition& C>
[[gnu::always_inline]] inline bool interruptPending(const Cells& cells) {
  return interruptAllowed<C>(cells.value(C.allow.reg) & C.allow.mask) && interruptRequested<C>(cells);
}

// Pending, allowed by the latched allow field (chips whose allow register
// the program's writes alone set).
template <const InterruptCondition& C>
[[gnu::always_inline]] inline bool interruptPending(const Cells& cells, const simcore::RegisterLatch& latch) {
  return interruptAllowed<C>(latch.bits(C.allow)) && interruptRequested<C>(cells);
}

}  // namespace periphery
