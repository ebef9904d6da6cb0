#pragma once
// LCD memory (nibbles addressed by bank and address) and a paged RAM seen
// through a window of registers: writing the page register saves the window
// into the old page and loads it from the new one.
#include <array>
#include <cstdint>

#include "cells.h"

namespace periphery {

template <int Banks, int PerBank>
class LcdMemory {
 public:
  static constexpr int kSize = Banks * PerBank;
  constexpr void reset() { nibbles_.fill(0); }
  constexpr int index(int bank, int address) const { return (bank % Banks) * PerBank + (address % PerBank); }
  constexpr int at(int i) const { return nibbles_[i % kSize]; }
  constexpr void set(int i, int v) { nibbles_[i % kSize] = static_cast<uint8_t>(v & 15); }

 private:
  std::array<uint8_t, kSize> nibbles_{};
};

template <int Pages, int First, int Count>
class PagedRam {
 public:
  constexpr void reset() {
    for (auto& p : pages_) p.fill(0);
  }
  // Saves the window registers into `from`, loads them from `to`.
  void switchPage(Cells& cells, int from, int to) {
    save(cells, from);
    for (int i = 0; i < Count; ++i) cells.set(First + i, pages_[to % Pages][i]);
  }
  void save(const Cells& cells, int page) {
    for (int i = 0; i < Count; ++i) pages_[page % Pages][i] = static_cast<uint8_t>(cells.value(First + i));
  }
  int at(int page, int i) const { return pages_[page % Pages][i % Count]; }

 private:
  std::array<std::array<uint8_t, Count>, Pages> pages_{};
};

}  // namespace periphery
