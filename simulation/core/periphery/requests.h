#pragma once
// Interrupt request registers and the interrupt condition, written in Fields.
// A request group is a request register and the register of its enables: a
// source's request bit is only ever set while its enable bit is set.
#include <simcore/field.h>

#include <array>

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
// fields is set. Unused list entries have mask 0.
struct InterruptCondition {
  Field allow;
  bool allowedWhenClear;
  std::array<Field, 4> requests;

  // Any request bit set, the allow field aside.
  bool requested(const Cells& cells) const {
    int any = 0;
    for (const Field& r : requests) {
      if (r.mask == 0) break;
      any |= cells.value(r.reg) & r.mask;
    }
    return any != 0;
  }
  bool allowed(int allowBits) const { return (allowBits != 0) != allowedWhenClear; }
  // Allowed by the register file's allow field.
  bool pending(const Cells& cells) const {
    return allowed(cells.value(allow.reg) & allow.mask) && requested(cells);
  }
  // Allowed by the latched allow field (chips whose allow register the
  // program's writes alone set).
  bool pending(const Cells& cells, const simcore::RegisterLatch& latch) const {
    return allowed(latch.bits(allow)) && requested(cells);
  }
};

}  // namespace periphery
