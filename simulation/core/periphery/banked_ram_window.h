#pragma once
// A window of RAM cells backed by several banks: switching the bank saves the
// visible cells into the store of the old bank and loads those of the new
// one. What moves is a named option: the value bits alone (the compare value
// stays with the register) or the whole value word (value and compare value).
// The flags words never move. The store lives as long as the module.
#include <cstdint>

#include "cells.h"

namespace periphery {

enum class BankMoves { ValueBits, ValueWord };

template <int First, int Count, int Banks, BankMoves Moves>
class BankedRamWindow {
 public:
  // Saves cells First.. into bank `from`, loads them from bank `to` (both
  // taken modulo the banks that exist).
  void switchBank(Cells& cells, int from, int to) {
    from = bounded(from);
    to = bounded(to);
    int32_t* words = cells.words();
    for (int k = 0; k < Count; ++k) {
      int32_t& word = words[2 * (First + k)];
      if constexpr (Moves == BankMoves::ValueWord) {
        store_[from][k] = word;
        word = store_[to][k];
      } else {
        store_[from][k] = word & 15;
        word = (word & ~15) | store_[to][k];
      }
    }
  }
  // The value bits of window cell `cell` as stored for `bank`.
  int valueAt(int bank, int cell) const { return store_[bounded(bank)][cell % Count] & 15; }

 private:
  static constexpr int bounded(int bank) { return (bank % Banks + Banks) % Banks; }
  int32_t store_[Banks][Count] = {};
};

}  // namespace periphery
