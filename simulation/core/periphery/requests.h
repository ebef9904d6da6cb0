#pragma once
// Interrupt request registers and the interrupt condition. A request group is
// a request register and the register of its enables; how a source raises
// its bit differs between chips and is a named policy.
#include <array>

#include "cells.h"

namespace periphery {

enum class RaisePolicy {
  IfEnabled,  // a request bit is only ever set while its enable bit is set
};

struct RequestGroup {
  int request;
  int enable;
  RaisePolicy policy = RaisePolicy::IfEnabled;

  // Raises the request bits of `mask` by the group's policy.
  void raise(Cells& cells, int mask) const {
    switch (policy) {
      case RaisePolicy::IfEnabled: cells.setBits(request, mask & cells.value(enable)); break;
    }
  }
};

// "Interrupts allowed" is a bit of an enable register (set or, inverted,
// clear), and an interrupt is pending when any request bit (bits 0-3) of the
// listed registers is set.
struct InterruptCondition {
  int enableRegister;
  int enableMask;
  bool enabledWhenClear;         // the bit masks interrupts while set
  std::array<int, 4> requests;   // request registers; -1 ends the list

  bool pending(const Cells& cells) const {
    if (cells.bit(enableRegister, enableMask) == enabledWhenClear) return false;
    int any = 0;
    for (int r : requests) {
      if (r < 0) break;
      any |= cells.value(r);
    }
    return any != 0;
  }
};

}  // namespace periphery
