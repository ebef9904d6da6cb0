#pragma once
// A window of RAM cells backed by several banks: switching the bank saves the
// visible cells' value words (value and compare value) into the store of the
// old bank and loads those of the new one; the flags words stay. The store
// lives as long as the module.
#include <cstdint>

#include "cells.h"

namespace periphery {

template <int First, int Count, int Banks>
class BankedRamWindow {
 public:
  // Saves cells First.. at bank `from`, loads them from bank `to` (both
  // masked to the banks that exist).
  void switchBank(Cells& cells, int from, int to) {
    from = bounded(from);
    to = bounded(to);
    int32_t* words = cells.words();
    for (int k = 0; k < Count; ++k) {
      store_[k][from] = words[2 * (First + k)];
      words[2 * (First + k)] = store_[k][to];
    }
  }
  int32_t stored(int cell, int bank) const { return store_[cell][bounded(bank)]; }

 private:
  static constexpr int bounded(int bank) {
    return (bank % Banks + Banks) % Banks;
  }
  int32_t store_[Count][Banks] = {};
};

}  // namespace periphery
