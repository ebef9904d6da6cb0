#pragma once
// Interrupt request registers and the interrupt condition, written in Fields.
// A request group is a request register and the register of its enables; how
// a source raises its bit is the group's policy.
#include <simcore/field.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "cells.h"

namespace periphery {

using simcore::Field;

enum class RaisePolicy : uint8_t {
  IfEnabled,    // a request bit is only ever set while its enable bit is set
  TakesEnable,  // the request bit takes its enable bit's value: set, or cleared
};

struct RequestGroup {
  Field request;
  Field enable;
  RaisePolicy policy = RaisePolicy::IfEnabled;

  // Raises the request bits of `mask` by the group's policy.
  void raise(Cells& cells, int mask) const {
    const int bits = mask & request.mask;
    if (policy == RaisePolicy::TakesEnable)
      cells.setMasked(request.reg, bits, cells.value(enable.reg));
    else
      cells.setBits(request.reg, bits & cells.value(enable.reg));
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

// Whether an interrupt is pending, given the allow field's bits. The test
// starts with what ends it in the common round: interrupts that must be
// enabled mostly are not; interrupts that must be masked mostly are
// allowed, and then no request is set.
template <const InterruptCondition& C>
[[gnu::always_inline]] inline bool interruptPendingWith(const Cells& cells, int allowBits) {
  if constexpr (C.allowedWhenClear)
    return interruptRequested<C>(cells) && interruptAllowed<C>(allowBits);
  else
    return interruptAllowed<C>(allowBits) && interruptRequested<C>(cells);
}

// Pending, allowed by the register file's allow field.
template <const InterruptCondition& C>
[[gnu::always_inline]] inline bool interruptPending(const Cells& cells) {
  return interruptPendingWith<C>(cells, cells.value(C.allow.reg) & C.allow.mask);
}

// Pending, allowed by the latched allow field (chips whose allow register
// the program's writes alone set).
template <const InterruptCondition& C>
[[gnu::always_inline]] inline bool interruptPending(const Cells& cells, const simcore::RegisterLatch& latch) {
  return interruptPendingWith<C>(cells, latch.bits(C.allow));
}

}  // namespace periphery
