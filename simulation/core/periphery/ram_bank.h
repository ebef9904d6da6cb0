#pragma once
// A second bank of RAM cells behind the visible ones: selecting the other
// bank exchanges the low byte (value and compare value) of each visible cell
// with the hidden one; the flags words never move.
#include <cstdint>
#include <cstring>

#include "cells.h"

namespace periphery {

template <int First, int Count>
class HiddenRamBank {
 public:
  void reset() {
    std::memset(bank_, 0, sizeof bank_);
    selected_ = 0;
  }

  // Selects bank 0 or 1; a change swaps the cells. Returns true on a change.
  bool select(Cells& cells, int bank) {
    bank &= 1;
    if (bank == selected_) return false;
    cells.swapLowBytes(First, Count, bank_);
    selected_ = bank;
    return true;
  }
  int selected() const { return selected_; }
  const uint8_t* hidden() const { return bank_; }

 private:
  uint8_t bank_[Count] = {};
  int selected_ = 0;
};

}  // namespace periphery
